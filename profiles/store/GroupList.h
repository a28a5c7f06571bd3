#pragma once
#include "profiles/store/ProfileEntry.h"

#include <QDomDocument>

#include <vector>

namespace kestrova {

// Group names the picker looks for, compared exactly.
inline constexpr QLatin1String kRecentGroup{"Recent"};
inline constexpr QLatin1String kUserDefinedGroup{"User defined"};
inline constexpr QLatin1String kAllProfilesGroup{"All Profiles"};
inline constexpr QLatin1String kDefaultGroup{"General Video"};

struct TProfileGroup {
    QString GroupName;
    QString GroupImage;  // picture file name under skin/icon/
    std::vector<TProfileEntry> Profiles;
};

// The group list: root `main`, one `groups` element whose `singlefile` "yes" asks for the
// one-list picker (its `profile` elements then sit directly in `groups`), otherwise `item`
// groups holding `profile` entries.
struct TGroupList {
    bool SingleFile = false;
    std::vector<TProfileGroup> Groups;      // two-pane form
    std::vector<TProfileEntry> SingleList;  // one-list form
};

// The group list compiled into the program.
QDomDocument BuiltInGroupListDocument();
TGroupList ReadGroupList(const QDomDocument& document);
TGroupList BuiltInGroupList();

}  // namespace kestrova
