#include "profiles/store/ProfileDocument.h"

#include "profiles/store/ValueList.h"
#include "profiles/store/XmlFile.h"

namespace kestrova {

namespace {

constexpr QLatin1String kMain{"Main"};
constexpr QLatin1String kParameter{"Parameter"};
constexpr QLatin1String kValue{"Value"};
constexpr QLatin1String kCandidatesValue{"CandidatesValue"};
constexpr QLatin1String kDefaultValue{"DefaultValue"};

}  // namespace

bool TProfileDocument::Load(const QString& path, QString* error) {
    TXmlFile file = ReadXmlFile(path);
    FDocument = file.Document;
    switch (file.State) {
        case TXmlFileState::Loaded:
            return HasSections(path, error);
        case TXmlFileState::Missing:
            if (error) *error = QStringLiteral("The profile file \"%1\" does not exist.").arg(path);
            return false;
        case TXmlFileState::Empty:
            if (error) *error = QStringLiteral("The profile file \"%1\" is empty.").arg(path);
            return false;
        case TXmlFileState::Broken:
            if (error) *error = file.Error;
            return false;
    }
    return false;
}

// Without its Main section a profile names no container, without Parameter no codec: it
// would convert into something the user never chose.
bool TProfileDocument::HasSections(const QString& path, QString* error) {
    for (const QLatin1String section : {kMain, kParameter}) {
        if (!Section(section).isNull()) continue;
        if (error)
            *error = QStringLiteral("The profile file \"%1\" has no %2 section: it is not an output profile.")
                             .arg(path, section);
        FDocument = QDomDocument();
        return false;
    }
    return true;
}

QDomElement TProfileDocument::Section(const QString& name) const {
    return FDocument.documentElement().firstChildElement(name);
}

QDomElement TProfileDocument::Parameter(const QString& name) const {
    return Section(kParameter).firstChildElement(name);
}

QString TProfileDocument::MainValue(const QString& name) const {
    return Section(kMain).firstChildElement(name).attribute(kValue);
}

QString TProfileDocument::CandidatesValue(const QString& name) const {
    return Parameter(name).attribute(kCandidatesValue);
}

QString TProfileDocument::DefaultValue(const QString& name) const {
    return Parameter(name).attribute(kDefaultValue);
}

QStringList TProfileDocument::ExtensionNames() const {
    return SplitValues(MainValue(QStringLiteral("extensionname")).trimmed());
}

bool TProfileDocument::IsAudioOnlyTarget() const {
    const QString disable = DefaultValue(QStringLiteral("disablevideo")).toLower();
    return disable == QLatin1String("true") || disable == QLatin1String("yes");
}

void TProfileDocument::SetSelectedValues(const TSelectedValues& values) {
    for (std::size_t i = 0; i < kSelectableParameters.size(); ++i) {
        QDomElement parameter = Parameter(QLatin1String(kSelectableParameters[i]));
        if (!parameter.isNull()) parameter.setAttribute(kDefaultValue, values[i]);
    }
}

bool TProfileDocument::Save(const QString& path, QString* error) {
    return WriteXmlFile(FDocument, path, error);
}

}  // namespace kestrova
