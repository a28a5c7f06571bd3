#include "profiles/store/IndexDocument.h"

namespace kestrova {

TIndexDocument::TIndexDocument(QDomDocument document) : FDocument(std::move(document)) {}

std::vector<TProfileEntry> TIndexDocument::Entries() const {
    std::vector<TProfileEntry> entries;
    for (QDomElement child = Root().firstChildElement(); !child.isNull(); child = child.nextSiblingElement())
        entries.push_back(ReadProfileEntry(child));
    return entries;
}

int TIndexDocument::Count() const {
    int count = 0;
    for (QDomElement child = Root().firstChildElement(); !child.isNull(); child = child.nextSiblingElement())
        ++count;
    return count;
}

bool TIndexDocument::ContainsName(const QString& profileName) const {
    for (QDomElement child = Root().firstChildElement(); !child.isNull(); child = child.nextSiblingElement())
        if (child.attribute(kProfileNameAttribute) == profileName) return true;
    return false;
}

QDomElement TIndexDocument::FindFile(const QString& profileFile) const {
    for (QDomElement child = Root().firstChildElement(); !child.isNull(); child = child.nextSiblingElement())
        if (child.attribute(kProfileFileAttribute) == profileFile) return child;
    return {};
}

void TIndexDocument::Append(const TProfileEntry& entry) {
    QDomElement profile = FDocument.createElement(kProfileElement);
    WriteProfileEntry(profile, entry);
    Root().appendChild(profile);
}

bool TIndexDocument::RemoveFile(const QString& profileFile) {
    const QDomElement entry = FindFile(profileFile);
    if (entry.isNull()) return false;
    Root().removeChild(entry);
    return true;
}

void TIndexDocument::KeepNewest(int limit) {
    for (int count = Count(); count > limit; --count) Root().removeChild(Root().firstChildElement());
}

}  // namespace kestrova
