#include "tools/skinrender/PictureList.h"

#include <QRegularExpression>
#include <QStringList>

#include <stdexcept>
#include <utility>

namespace kestrova::skinrender {

namespace {

struct TStyle {
    QString State;
    TValues Values;
};

using TStyleFamilies = std::map<QString, std::vector<TStyle>>;

class TListReader {
public:
    explicit TListReader(QString listName) : FListName(std::move(listName)) {}

    void ReadLine(const QString& line, int lineNumber);
    TPictureList Take() { return std::move(FList); }

private:
    [[noreturn]] void Fail(const QString& message) const;
    QStringList Tokens(const QString& line) const;
    TValues Values(const QStringList& tokens, qsizetype first) const;
    QSize Size(const QString& token) const;
    void ReadStyle(const QStringList& tokens);
    void ReadPicture(const QStringList& tokens);
    void ReadCopy(const QStringList& tokens);

    QString FListName;
    int FLineNumber = 0;
    TStyleFamilies FFamilies;
    TPictureList FList;
};

void TListReader::Fail(const QString& message) const {
    throw std::runtime_error(
            QStringLiteral("%1:%2: %3").arg(FListName).arg(FLineNumber).arg(message).toStdString());
}

// Splits at blanks outside double quotes; the quotes themselves are dropped.
QStringList TListReader::Tokens(const QString& line) const {
    QStringList tokens;
    QString token;
    bool quoted = false;
    bool inToken = false;
    for (const QChar c : line) {
        if (c == u'"') {
            quoted = !quoted;
            inToken = true;
        } else if (c.isSpace() && !quoted) {
            if (inToken) tokens.append(std::exchange(token, QString()));
            inToken = false;
        } else {
            token.append(c);
            inToken = true;
        }
    }
    if (quoted) Fail(QStringLiteral("unterminated quote"));
    if (inToken) tokens.append(token);
    return tokens;
}

TValues TListReader::Values(const QStringList& tokens, qsizetype first) const {
    TValues values;
    for (qsizetype i = first; i < tokens.size(); ++i) {
        const qsizetype equals = tokens[i].indexOf(u'=');
        if (equals <= 0) Fail(QStringLiteral("expected key=value, found \"%1\"").arg(tokens[i]));
        values[tokens[i].left(equals)] = tokens[i].mid(equals + 1);
    }
    return values;
}

QSize TListReader::Size(const QString& token) const {
    static const QRegularExpression pattern(QStringLiteral("^([1-9][0-9]*)x([1-9][0-9]*)$"));
    const QRegularExpressionMatch match = pattern.match(token);
    if (!match.hasMatch()) Fail(QStringLiteral("expected a size such as 42x42, found \"%1\"").arg(token));
    return {match.captured(1).toInt(), match.captured(2).toInt()};
}

void TListReader::ReadStyle(const QStringList& tokens) {
    if (tokens.size() < 3) Fail(QStringLiteral("a style needs a family and a state"));
    std::vector<TStyle>& family = FFamilies[tokens[1]];
    for (const TStyle& style : family) {
        if (style.State == tokens[2])
            Fail(QStringLiteral("state \"%1\" of \"%2\" listed twice").arg(tokens[2], tokens[1]));
    }
    family.push_back({tokens[2], Values(tokens, 3)});
}

void TListReader::ReadPicture(const QStringList& tokens) {
    if (tokens.size() < 4) Fail(QStringLiteral("a picture needs an output name, a size and a source"));
    TPictureJob job{tokens[1], Size(tokens[2]), tokens[3], Values(tokens, 4)};
    const auto states = job.Values.find(QStringLiteral("states"));
    if (states == job.Values.end()) {
        if (job.Output.contains(QLatin1String("{state}")))
            Fail(QStringLiteral("\"{state}\" in the name of a picture without states"));
        FList.Pictures.push_back(std::move(job));
        return;
    }
    const auto family = FFamilies.find(states->second);
    if (family == FFamilies.end()) Fail(QStringLiteral("no styles listed for \"%1\"").arg(states->second));
    if (!job.Output.contains(QLatin1String("{state}")))
        Fail(QStringLiteral("a picture with states needs \"{state}\" in its name"));
    job.Values.erase(states);
    for (const TStyle& style : family->second) {
        TPictureJob stateJob = job;
        stateJob.Output.replace(QLatin1String("{state}"), style.State);
        stateJob.Values.insert(style.Values.begin(), style.Values.end());  // the picture's own win
        FList.Pictures.push_back(std::move(stateJob));
    }
}

void TListReader::ReadCopy(const QStringList& tokens) {
    if (tokens.size() != 3) Fail(QStringLiteral("a copy needs an output name and a source"));
    FList.Copies.push_back({tokens[1], tokens[2]});
}

void TListReader::ReadLine(const QString& line, int lineNumber) {
    FLineNumber = lineNumber;
    const QString trimmed = line.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith(u'#')) return;
    const QStringList tokens = Tokens(trimmed);
    if (tokens[0] == QLatin1String("style"))
        ReadStyle(tokens);
    else if (tokens[0] == QLatin1String("picture"))
        ReadPicture(tokens);
    else if (tokens[0] == QLatin1String("copy"))
        ReadCopy(tokens);
    else
        Fail(QStringLiteral("unknown entry \"%1\"").arg(tokens[0]));
}

}  // namespace

TPictureList ParsePictureList(const QString& text, const QString& listName) {
    TListReader reader(listName);
    const QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) reader.ReadLine(lines[i], static_cast<int>(i + 1));
    return reader.Take();
}

}  // namespace kestrova::skinrender
