#pragma once
// A temporary program folder with a profiles folder, a few small profile files and an input
// box whose answers the test sets.
#include "profiles/store/ProfileStore.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <deque>
#include <vector>

namespace kestrova::test {

struct TAsked {
    QString Caption;
    QString Prompt;
    QString InitialText;
};

class ProgramFolderTest : public ::testing::Test {
protected:
    ProgramFolderTest();

    // Program folder below the temporary folder; `subfolder` lets a test choose its name.
    void UseProgramFolder(const QString& subfolder);

    QString P() const { return FProgram; }
    QString ProfilesPath(const QString& relative) const { return FProgram + "profiles/" + relative; }

    void WriteFile(const QString& relative, const QByteArray& bytes) const;
    QByteArray ReadFile(const QString& relative) const;
    bool Exists(const QString& relative) const;

    // A built-in profile file with Main and Parameter sections.
    void WriteBuiltInProfile(const QString& fileName) const;
    // An index document (recent.xml or userdefined.xml) listing the entries.
    void WriteIndex(const QString& fileName, const std::vector<TProfileEntry>& entries) const;
    std::vector<TProfileEntry> ReadIndex(const QString& fileName) const;

    // The answer the input box gives next ("" = cancel); with no answer queued it accepts
    // the proposal.
    void Answer(const QString& text) { FAnswers.push_back(text); }
    TProfileStore& Store();

    TProfileEntry Current;      // the store's current profile (not the process-wide one)
    std::vector<TAsked> Asked;  // every question the input box was asked
    int ListsChangedCount = 0;

private:
    QTemporaryDir FTemp;
    QString FProgram;
    std::deque<QString> FAnswers;
    std::unique_ptr<TProfileStore> FStore;
};

TProfileEntry Mp4Entry();
TProfileEntry NamedEntry(int number);  // "Profile <n>(*.avi)" naming "p<n>.xml"

// Keeps the folder or file from being written while it lives, when the system allows that
// for the running user; Blocked() says whether it worked.
class TWriteBlock {
public:
    explicit TWriteBlock(const QString& path);
    ~TWriteBlock();
    TWriteBlock(const TWriteBlock&) = delete;
    TWriteBlock& operator=(const TWriteBlock&) = delete;
    bool Blocked() const { return FMode != TBlockMode::None; }

private:
    enum class TBlockMode { None, Permissions, Immutable };
    bool SetImmutable(bool on) const;
    QString FPath;
    TBlockMode FMode = TBlockMode::None;
};

}  // namespace kestrova::test
