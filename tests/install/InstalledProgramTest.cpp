// The installed program in a read-only scratch prefix (the fixture): the command line and the
// window keep the user's files in the XDG folders and write nothing into the prefix.
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

}  // namespace
}  // namespace kestrova::testing
