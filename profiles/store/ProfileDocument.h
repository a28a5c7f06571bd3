#pragma once
#include <QDomDocument>
#include <QString>
#include <QStringList>

#include <array>

namespace kestrova {

// The ten parameters the options dialog offers, in the dialog's order; Save As writes the
// selected value of each back as its `DefaultValue`.
inline constexpr std::array<const char*, 10> kSelectableParameters = {
        "videosize",    "videobitrate", "videoframerate",  "videoaspectratio", "videocodec",
        "audiochannel", "audiobitrate", "audiosamplerate", "audiovolume",      "audiocodec",
};
using TSelectedValues = std::array<QString, kSelectableParameters.size()>;

// One output profile file: `Main` says the container and extension, `Parameter` the value
// lists with their defaults. The root may have any name; a missing element inside the two
// sections reads as empty.
class TProfileDocument {
public:
    // False with the reason in `error` (naming the file) when it is missing, empty, cannot be
    // read, is not XML, or lacks the Main or the Parameter section; the document is then empty.
    bool Load(const QString& path, QString* error = nullptr);
    bool IsLoaded() const { return !FDocument.documentElement().isNull(); }

    // `Value` of Main/<name> ("extensionname", "fileformat", "targetprofile").
    QString MainValue(const QString& name) const;
    // `CandidatesValue` and `DefaultValue` of Parameter/<name>.
    QString CandidatesValue(const QString& name) const;
    QString DefaultValue(const QString& name) const;

    // The output extensions (the first is used), from the trimmed `extensionname` list.
    QStringList ExtensionNames() const;
    // `disablevideo` says "true" or "yes" in any letter case.
    bool IsAudioOnlyTarget() const;

    // Sets `DefaultValue` of each of the ten selectable parameters that the file has (an
    // absent parameter could only offer an empty value and stays absent).
    void SetSelectedValues(const TSelectedValues& values);

    bool Save(const QString& path, QString* error = nullptr);

    const QDomDocument& Document() const { return FDocument; }

private:
    bool HasSections(const QString& path, QString* error);
    QDomElement Section(const QString& name) const;
    QDomElement Parameter(const QString& name) const;

    QDomDocument FDocument;
};

}  // namespace kestrova
