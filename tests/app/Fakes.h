#pragma once
// Stand-ins for the desktop services: they record what the program asks for instead of
// acting on it, and answer dialogs without showing them. TShellTestEnvironment installs them
// all for one test, with the user's folders inside a temporary home.
#include "platform/Services.h"
#include "shell/ErrorDisplay.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace kestrova::testing {

class TRecordingShell : public platform::TShell {
public:
    std::vector<QString> Opened;
    std::vector<QString> Shown;
    bool Accept = true;  // false: the desktop has no program for anything

    bool Open(const QString& target) override {
        Opened.push_back(target);
        return Accept;
    }
    bool ShowItem(const QString& path) override {
        Shown.push_back(path);
        return Accept;
    }
};

class TRecordingPowerControl : public platform::TPowerControl {
public:
    int PowerOffRequests = 0;
    bool Accept = true;

    bool PowerOff() override {
        ++PowerOffRequests;
        return Accept;
    }
};

class TAnsweringFolderBrowser : public platform::TFolderBrowser {
public:
    QString Answer;  // empty: the user cancels
    std::vector<platform::TFolderBrowseRequest> Requests;

    QString Choose(const platform::TFolderBrowseRequest& request) override {
        Requests.push_back(request);
        return Answer;
    }
};

class TAnsweringTextPrompt : public platform::TTextPrompt {
public:
    QString Answer;
    std::vector<QStringList> Questions;  // caption, prompt, initial text

    QString Ask(QWidget*, const QString& caption, const QString& prompt,
                const QString& initialText) override {
        Questions.push_back({caption, prompt, initialText});
        return Answer;
    }
};

class TFixedUserFolders : public platform::TUserFolders {
public:
    QString DocumentsFolder;
    QString VideosFolder;

    QString Documents() override { return DocumentsFolder; }
    QString Videos() override { return VideosFolder; }
};

// A fake installed as the service for as long as this object lives.
template <class Fake, class Service>
class TInstalledFake {
public:
    TInstalledFake() : TInstalledFake(std::make_unique<Fake>()) {}
    Fake& operator*() const { return FFake; }
    Fake* operator->() const { return &FFake; }

private:
    explicit TInstalledFake(std::unique_ptr<Fake> fake) : FFake(*fake), FScope(std::move(fake)) {}

    Fake& FFake;
    platform::TScopedService<Service> FScope;
};

class TShellTestEnvironment {
public:
    TShellTestEnvironment() {
        EXPECT_TRUE(FRoot.isValid());
        EXPECT_TRUE(QDir(FRoot.path()).mkpath(QStringLiteral("home/Documents")));
        FFolders->DocumentsFolder = Path(QStringLiteral("home/Documents"));
        FFolders->VideosFolder = Path(QStringLiteral("home/Videos"));
        FPreviousErrorDisplay =
                SetErrorDisplay([this](const TErrorNotice& notice) { Errors.push_back(notice); });
    }

    ~TShellTestEnvironment() { SetErrorDisplay(std::move(FPreviousErrorDisplay)); }

    TShellTestEnvironment(const TShellTestEnvironment&) = delete;
    TShellTestEnvironment& operator=(const TShellTestEnvironment&) = delete;

    // A path inside the test's own temporary folder.
    QString Path(const QString& relative) const { return FRoot.filePath(relative); }
    QString MakeFolder(const QString& relative) const {
        EXPECT_TRUE(QDir(FRoot.path()).mkpath(relative));
        return Path(relative);
    }

    TRecordingShell& Shell() { return *FShell; }
    TRecordingPowerControl& Power() { return *FPower; }
    TAnsweringFolderBrowser& Browser() { return *FBrowser; }
    TAnsweringTextPrompt& Prompt() { return *FPrompt; }
    TFixedUserFolders& Folders() { return *FFolders; }

    std::vector<TErrorNotice> Errors;

private:
    QTemporaryDir FRoot;
    TInstalledFake<TRecordingShell, platform::TShell> FShell;
    TInstalledFake<TRecordingPowerControl, platform::TPowerControl> FPower;
    TInstalledFake<TAnsweringFolderBrowser, platform::TFolderBrowser> FBrowser;
    TInstalledFake<TAnsweringTextPrompt, platform::TTextPrompt> FPrompt;
    TInstalledFake<TFixedUserFolders, platform::TUserFolders> FFolders;
    TErrorDisplayHandler FPreviousErrorDisplay;
};

}  // namespace kestrova::testing
