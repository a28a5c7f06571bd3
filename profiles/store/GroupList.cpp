#include "profiles/store/GroupList.h"

#include <QFile>

// The resource lives in a static library: initialising it by name keeps the linker from
// dropping it. Qt's macro must be used outside any namespace.
static void InitGroupListResource() {
    Q_INIT_RESOURCE(groups);
}

namespace kestrova {

namespace {

const QString kGroupListResource = QStringLiteral(":/kestrova/profiles/groups.xml");

std::vector<TProfileEntry> ProfilesOf(const QDomElement& parent) {
    std::vector<TProfileEntry> profiles;
    for (QDomElement profile = parent.firstChildElement(kProfileElement); !profile.isNull();
         profile = profile.nextSiblingElement(kProfileElement))
        profiles.push_back(ReadProfileEntry(profile));
    return profiles;
}

}  // namespace

QDomDocument BuiltInGroupListDocument() {
    InitGroupListResource();
    QFile resource(kGroupListResource);
    QDomDocument document;
    // The resource is part of the program, so this only fails in a broken build; the picker
    // then shows no groups rather than taking the program down.
    if (!resource.open(QIODevice::ReadOnly) || !document.setContent(&resource)) {
        qWarning("The built-in profile group list is missing or damaged.");
        return {};
    }
    return document;
}

TGroupList ReadGroupList(const QDomDocument& document) {
    TGroupList list;
    const QDomElement groups = document.documentElement().firstChildElement(QStringLiteral("groups"));
    list.SingleFile = groups.attribute(QStringLiteral("singlefile")) == QLatin1String("yes");
    if (list.SingleFile) {
        list.SingleList = ProfilesOf(groups);
        return list;
    }
    for (QDomElement item = groups.firstChildElement(QStringLiteral("item")); !item.isNull();
         item = item.nextSiblingElement(QStringLiteral("item")))
        list.Groups.push_back(TProfileGroup{item.attribute(QStringLiteral("groupname")),
                                            item.attribute(QStringLiteral("groupimage")), ProfilesOf(item)});
    return list;
}

TGroupList BuiltInGroupList() {
    return ReadGroupList(BuiltInGroupListDocument());
}

}  // namespace kestrova
