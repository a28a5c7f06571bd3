#pragma once
// Stand-ins for the desktop services: they record what the program asks for instead of
// acting on it, and answer dialogs without showing them. ShellTestEnvironment installs them
// all for one test, with the user's folders inside a temporary home.
#include "app/shell/ErrorDisplay.h"
#include "platform/Services.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace kestrova::testing {

class RecordingShell : public platform::Shell {
public:
    std::vector<QString> opened;
    std::vector<QString> shown;

    bool Open(const QString& target) override
    {
        opened.push_back(target);
        return true;
    }
    bool ShowItem(const QString& path) override
    {
        shown.push_back(path);
        return true;
    }
};

class RecordingPowerControl : public platform::PowerControl {
public:
    int powerOffRequests = 0;
    bool accept = true;

    bool PowerOff() override
    {
        ++powerOffRequests;
        return accept;
    }
};

class AnsweringFolderBrowser : public platform::FolderBrowser {
public:
    QString answer;  // empty: the user cancels
    std::vector<platform::FolderBrowseRequest> requests;

    QString Choose(const platform::FolderBrowseRequest& request) override
    {
        requests.push_back(request);
        return answer;
    }
};

class AnsweringTextPrompt : public platform::TextPrompt {
public:
    QString answer;
    std::vector<QStringList> questions;  // caption, prompt, initial text

    QString Ask(QWidget*, const QString& caption, const QString& prompt, const QString& initialText) override
    {
        questions.push_back({caption, prompt, initialText});
        return answer;
    }
};

class FixedUserFolders : public platform::UserFolders {
public:
    QString documents;
    QString videos;

    QString Documents() override { return documents; }
    QString Videos() override { return videos; }
};

// A fake installed as the service for as long as this object lives.
template <class Fake, class Service>
class InstalledFake {
public:
    InstalledFake() : InstalledFake(std::make_unique<Fake>()) {}
    Fake& operator*() const { return fake_; }
    Fake* operator->() const { return &fake_; }

private:
    explicit InstalledFake(std::unique_ptr<Fake> fake) : fake_(*fake), scope_(std::move(fake)) {}

    Fake& fake_;
    platform::ScopedService<Service> scope_;
};

class ShellTestEnvironment {
public:
    ShellTestEnvironment()
    {
        EXPECT_TRUE(root_.isValid());
        EXPECT_TRUE(QDir(root_.path()).mkpath(QStringLiteral("home/Documents")));
        folders_->documents = Path(QStringLiteral("home/Documents"));
        folders_->videos = Path(QStringLiteral("home/Videos"));
        previousErrorDisplay_ = SetErrorDisplay([this](const ErrorNotice& notice) { errors.push_back(notice); });
    }

    ~ShellTestEnvironment() { SetErrorDisplay(std::move(previousErrorDisplay_)); }

    ShellTestEnvironment(const ShellTestEnvironment&) = delete;
    ShellTestEnvironment& operator=(const ShellTestEnvironment&) = delete;

    // A path inside the test's own temporary folder.
    QString Path(const QString& relative) const { return root_.filePath(relative); }
    QString MakeFolder(const QString& relative) const
    {
        EXPECT_TRUE(QDir(root_.path()).mkpath(relative));
        return Path(relative);
    }

    RecordingShell& Shell() { return *shell_; }
    RecordingPowerControl& Power() { return *power_; }
    AnsweringFolderBrowser& Browser() { return *browser_; }
    AnsweringTextPrompt& Prompt() { return *prompt_; }
    FixedUserFolders& Folders() { return *folders_; }

    std::vector<ErrorNotice> errors;

private:
    QTemporaryDir root_;
    InstalledFake<RecordingShell, platform::Shell> shell_;
    InstalledFake<RecordingPowerControl, platform::PowerControl> power_;
    InstalledFake<AnsweringFolderBrowser, platform::FolderBrowser> browser_;
    InstalledFake<AnsweringTextPrompt, platform::TextPrompt> prompt_;
    InstalledFake<FixedUserFolders, platform::UserFolders> folders_;
    ErrorDisplayHandler previousErrorDisplay_;
};

} // namespace kestrova::testing
