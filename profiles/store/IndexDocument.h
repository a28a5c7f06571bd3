#pragma once
#include "profiles/store/ProfileEntry.h"

#include <QDomDocument>

#include <vector>

namespace kestrova {

// recent.xml or userdefined.xml in memory: a root of any name whose child elements are
// `profile` entries, oldest first.
class TIndexDocument {
public:
    explicit TIndexDocument(QDomDocument document);

    std::vector<TProfileEntry> Entries() const;
    int Count() const;

    bool ContainsName(const QString& profileName) const;
    // The first entry whose `profilefile` equals the value exactly; null when there is none.
    QDomElement FindFile(const QString& profileFile) const;

    void Append(const TProfileEntry& entry);
    // Removes the first entry naming that file; false when there is none.
    bool RemoveFile(const QString& profileFile);
    // Removes the oldest entries until at most `limit` remain.
    void KeepNewest(int limit);

    QDomDocument& Document() { return FDocument; }

private:
    QDomElement Root() const { return FDocument.documentElement(); }

    QDomDocument FDocument;
};

}  // namespace kestrova
