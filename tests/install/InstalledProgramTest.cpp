// The installed program in a read-only scratch prefix (the fixture): the command line and the
// window keep the user's files in the XDG folders and write nothing into the prefix; a queue the
// window was killed in the middle of comes back at the next start and is finished.
#include "app/queue/QueueTexts.h"
#include "app/queue/SavedQueue.h"
#include "engine/frame/ProgramLayout.h"
#include "tests/engine/front/EngineTestSupport.h"
#include "tests/support/ProcessRun.h"
#include "tests/support/RunningProgram.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace kestrova::testing {
namespace {

namespace fs = std::filesystem;
const std::string kPrefix = KESTROVA_INSTALLED_PREFIX;

// Every path below the folder with its size and time, to see that nothing was written there.
std::string TreeListing(const std::string& folder) {
    std::ostringstream listing;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder))
        listing << entry.path() << ' ' << (entry.is_regular_file() ? entry.file_size() : 0) << ' '
                << entry.last_write_time().time_since_epoch().count() << '\n';
    return listing.str();
}

std::string ReadText(const std::string& path) {
    std::ifstream file(path);
    return {std::istreambuf_iterator<char>(file), {}};
}

// For this process and the programs it starts.
void UseUserFolders(const std::string& folder) {
    ::setenv("HOME", (folder + "/home").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (folder + "/config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (folder + "/data").c_str(), 1);
}

TEST(ProgramLayoutTest, BuildFoldersArePortableInstalledProgramsUseTheXdgFolders) {
    const std::string f = TestFolder();
    fs::create_directories(f + "/build/profiles");
    const TProgramLayout build = LayoutFor(f + "/build", {f + "/xdg", "", f + "/home"});
    for (const std::string& folder :
         {build.DataFolder, build.ModuleFolder, build.ConfigFolder, build.UserDataFolder})
        EXPECT_EQ(folder, f + "/build/");
    // A relative XDG folder counts as unset.
    const TProgramLayout installed = LayoutFor(f + "/usr/bin/", {"relative", "", f + "/home"});
    EXPECT_EQ(installed.DataFolder, f + "/usr/share/kestrova/");
    EXPECT_EQ(installed.ModuleFolder, f + "/usr/lib/kestrova/");
    EXPECT_EQ(installed.ConfigFolder, f + "/home/.config/kestrova/");
    EXPECT_EQ(installed.UserDataFolder, f + "/home/.local/share/kestrova/");
}

TEST(InstalledCliTest, ConvertsThroughAUserProfileKeptInTheXdgDataFolder) {
    const std::string folder = TestFolder();
    UseUserFolders(folder);
    const std::string before = TreeListing(kPrefix);
    const std::string store = folder + "/data/kestrova/profiles/";
    fs::create_directories(store + "userdefined");
    fs::copy_file(kPrefix + "/share/kestrova/profiles/mp3.xml", store + "userdefined/talk.xml");
    std::ofstream(store + "userdefined.xml")
            << "<main><profile profilename=\"Talk MP3(*.mp3)\" describename=\"\" "
               "profileimage=\"\" profilefile=\"userdefined\\talk.xml\"/></main>";
    const std::string cli = kPrefix + "/bin/kestrova-cli";
    // The built-in profiles are read from the installed data.
    const testmedia::ProcessResult listing = testmedia::RunProcess(cli, {"--list"});
    EXPECT_EQ(listing.output.find("cannot be used"), std::string::npos) << listing.output;
    fs::create_directories(folder + "/out");
    const testmedia::ProcessResult run = testmedia::RunProcess(
            cli, {"--profile", "Talk MP3", SmallClip(2.0), "--out-folder", folder + "/out"});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    ASSERT_TRUE(LoadMediaLibraries());
    const TReadBack result = ReadBack(fs::directory_iterator(folder + "/out")->path().string());
    ASSERT_TRUE(result.First(AVMEDIA_TYPE_AUDIO) && !result.First(AVMEDIA_TYPE_VIDEO));
    EXPECT_NEAR(result.First(AVMEDIA_TYPE_AUDIO)->Seconds, 2.0, 0.1);
    EXPECT_EQ(TreeListing(kPrefix), before);
}

bool WaitUntil(const std::function<bool()>& done) {
    for (int tries = 0; tries < 600 && !done(); ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return done();
}

bool XdoTool(const std::vector<std::string>& arguments) {
    return testmedia::RunProcess("/usr/bin/xdotool", arguments).exitCode == 0;
}

// One run of the window: the Options button (its window centred on the 1024 x 768 screen),
// one step up of the count of simultaneous conversions, and OK.
void RaiseProcessesOnce(const std::string& folder, int expected) {
    const std::string marker = folder + "/shown";
    fs::remove(marker);
    ::setenv("KESTROVA_SHOWN_MARKER", marker.c_str(), 1);
    clitest::TRunningProgram program(kPrefix + "/bin/kestrova", {});
    ASSERT_TRUE(WaitUntil([&] { return fs::exists(marker); })) << program.Output();
    ASSERT_TRUE(XdoTool({"mousemove", "393", "189", "click", "1"}));
    ASSERT_TRUE(WaitUntil([] { return XdoTool({"search", "--onlyvisible", "--name", "^Options"}); }));
    ASSERT_TRUE(XdoTool({"mousemove", "502", "344", "key", "Up", "Return"}));
    const std::string settings = folder + "/config/kestrova/Setting.ini",
                      line = "processes=" + std::to_string(expected);
    EXPECT_TRUE(WaitUntil([&] { return ReadText(settings).find(line) != std::string::npos; }));
    program.Signal(SIGTERM);
    program.Wait();
}

TEST(InstalledWindowTest, KeepsItsSettingsInTheXdgFoldersAcrossARestart) {
    if (!std::getenv("DISPLAY") || !fs::exists("/usr/bin/xdotool"))
        GTEST_SKIP() << "needs xvfb-run and xdotool";
    const std::string folder = TestFolder();
    UseUserFolders(folder);
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    const std::string before = TreeListing(kPrefix);
    RaiseProcessesOnce(folder, 4);
    RaiseProcessesOnce(folder, 5);  // the second run started from the saved 4
    EXPECT_EQ(TreeListing(kPrefix), before);
}

std::vector<TSavedRow> SavedRows(const std::string& queueFile) {
    return ReadQueueFile(QString::fromStdString(queueFile)).Queue.Rows;
}

bool RowSays(const std::string& queueFile, std::size_t row, const QString& status) {
    const std::vector<TSavedRow> rows = SavedRows(queueFile);
    return row < rows.size() && rows[row].Status == status;
}

std::string OutputOf(const std::string& queueFile, std::size_t row) {
    return SavedRows(queueFile).at(row).OutputFileName.toStdString();
}

// The main window's buttons on the 1024 x 768 screen, and the middle of the window, where the
// options dialog and the message boxes lie.
const std::vector<std::string> kStartButton{"mousemove", "533", "255", "click", "1"};
const std::vector<std::string> kPressDefaultButton{"mousemove", "502", "344", "key", "Return"};

// Three files on one process: a short one that completes, a long one killed mid-run, a short
// one still waiting, whose source is then deleted. At the next start the queue is taken back.
TEST(InstalledQueueTest, AQueueKilledMidRunComesBackAndIsFinishedWithoutRedoingAnything) {
    if (!std::getenv("DISPLAY") || !fs::exists("/usr/bin/xdotool"))
        GTEST_SKIP() << "needs xvfb-run and xdotool";
    const std::string folder = TestFolder(), out = folder + "/out/";
    UseUserFolders(folder);
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    fs::create_directories(folder + "/config/kestrova"), fs::create_directories(out);
    std::ofstream(folder + "/config/kestrova/Setting.ini")
            << "[general]\nprocesses=1\noutputfolder=" << out << "\n";
    const std::string shortClip = folder + "/short.flv", waiting = folder + "/waiting.flv";
    fs::copy_file(SmallClip(1.0), shortClip);
    fs::copy_file(SmallClip(1.0), waiting);
    const std::string longClip = SmallClip(300.0), queueFile = folder + "/data/kestrova/queue.json";
    fs::file_time_type completed;
    {
        clitest::TRunningProgram program(kPrefix + "/bin/kestrova", {shortClip, longClip, waiting});
        for (std::size_t rows = 1; rows <= 3; ++rows) {
            ASSERT_TRUE(WaitUntil([] {
                return XdoTool({"search", "--onlyvisible", "--name", "^Output Options"});
            })) << program.Output();
            ASSERT_TRUE(XdoTool(kPressDefaultButton));
            ASSERT_TRUE(WaitUntil([&] { return SavedRows(queueFile).size() == rows; }));
        }
        ASSERT_TRUE(XdoTool(kStartButton));
        ASSERT_TRUE(WaitUntil([&] {
            return RowSays(queueFile, 0, kStatusCompleted) && fs::file_size(OutputOf(queueFile, 1)) > 0;
        }));
        completed = fs::last_write_time(OutputOf(queueFile, 0));
        program.Signal(SIGKILL);
        program.Wait();
    }
    ASSERT_FALSE(RowSays(queueFile, 1, kStatusCompleted)) << "killed before the long file was done";
    fs::remove(waiting);

    clitest::TRunningProgram program(kPrefix + "/bin/kestrova", {});
    // The question comes over the main window, under the same caption.
    ASSERT_TRUE(WaitUntil([] {
        return XdoTool({"search", "--onlyvisible", "--name", "^Orvanta Kestrova$", "getwindowname", "%2"});
    })) << program.Output()
        << testmedia::RunProcess("/usr/bin/xdotool", {"search", "--name", ".", "getwindowname", "%@"}).output;
    ASSERT_TRUE(XdoTool(kPressDefaultButton));  // "Restore the 3 files left in the queue?": Yes
    ASSERT_TRUE(WaitUntil([&] { return RowSays(queueFile, 2, kStatusAborted); }));
    EXPECT_EQ(fs::file_size(OutputOf(queueFile, 1)), 0u) << "the unfinished output is removed";
    EXPECT_EQ(SavedRows(queueFile)[2].FailureText, "The source file is gone.");
    ASSERT_TRUE(XdoTool(kStartButton));
    ASSERT_TRUE(WaitUntil([&] { return RowSays(queueFile, 1, kStatusCompleted); }));
    program.Signal(SIGTERM);
    program.Wait();

    EXPECT_TRUE(RowSays(queueFile, 0, kStatusCompleted));
    EXPECT_EQ(fs::last_write_time(OutputOf(queueFile, 0)), completed) << "the completed file is not redone";
    ASSERT_TRUE(LoadMediaLibraries());
    const TReadBack converted = ReadBack(OutputOf(queueFile, 1));
    ASSERT_TRUE(converted.First(AVMEDIA_TYPE_VIDEO));
    EXPECT_NEAR(converted.First(AVMEDIA_TYPE_VIDEO)->Seconds, 300.0, 1.0);
    for (const fs::directory_entry& entry : fs::directory_iterator(out))
        EXPECT_GT(entry.file_size(), 0u) << entry.path() << ": no empty file is left";
    EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), 2) << "nothing redone";
}

}  // namespace
}  // namespace kestrova::testing
