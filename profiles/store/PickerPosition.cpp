#include "profiles/store/PickerPosition.h"

#include "profiles/store/XmlFile.h"

namespace kestrova {

namespace {

const QByteArray kDefaultPosition =
        QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<main><Profile LeftIndex=\"1\" "
                          "RightIndex=\"0\"/></main>\n");
constexpr QLatin1String kLeftIndex{"LeftIndex"};
constexpr QLatin1String kRightIndex{"RightIndex"};

QDomDocument DefaultDocument() {
    QDomDocument document;
    document.setContent(kDefaultPosition);
    return document;
}

int DecimalOrZero(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    return ok ? value : 0;
}

}  // namespace

std::optional<TPickerPosition> LoadPickerPosition(const TStorePaths& paths) {
    const TXmlFile file = ReadXmlFile(paths.LastPositionFile());
    if (file.State != TXmlFileState::Loaded) {
        WriteFileBytes(paths.LastPositionFile(), kDefaultPosition);
        return std::nullopt;
    }
    const QDomElement first = file.Document.documentElement().firstChildElement();
    return TPickerPosition{DecimalOrZero(first.attribute(kLeftIndex)),
                           DecimalOrZero(first.attribute(kRightIndex))};
}

bool SavePickerPosition(const TStorePaths& paths, const TPickerPosition& position, QString* error) {
    TXmlFile file = ReadXmlFile(paths.LastPositionFile());
    QDomDocument document = file.State == TXmlFileState::Loaded ? file.Document : DefaultDocument();
    QDomElement root = document.documentElement();
    QDomElement first = root.firstChildElement();
    if (first.isNull())
        first = root.appendChild(document.createElement(QStringLiteral("Profile"))).toElement();
    first.setAttribute(kLeftIndex, QString::number(position.LeftIndex));
    first.setAttribute(kRightIndex, QString::number(position.RightIndex));
    return WriteXmlFile(document, paths.LastPositionFile(), error);
}

}  // namespace kestrova
