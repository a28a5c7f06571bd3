// How the profile mode reads its command line.
#include "tools/cli/ProfileCommandLine.h"
#include "tools/cli/CommandLine.h"

#include <gtest/gtest.h>

namespace kestrova::clitest {
namespace {

// The command line in one line of text; the error text when it is refused.
std::string Described(const std::vector<std::string>& arguments) {
    try {
        const cli::TProfileCommandLine command = cli::ParseProfileCommandLine(arguments);
        if (command.List) return "list";
        std::string text = "profile=" + command.Profile;
        for (const auto& [name, value] : command.Settings) text += " set " + name + "=" + value;
        for (const std::string& input : command.Inputs) text += " in " + input;
        if (!command.OutputFolder.empty()) text += " folder " + command.OutputFolder;
        return text + " processes=" + std::to_string(command.Processes);
    } catch (const cli::ECommandLine& error) {
        return std::string("error: ") + error.what();
    }
}

TEST(ProfileCommandLineTest, ReadsProfileSettingsInputsFolderAndProcesses) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
            {{"--profile", "mp4.xml", "a.flv"}, "profile=mp4.xml in a.flv processes=1"},
            {{"a.flv", "--set", "videosize=320x240", "--profile", "iPod Video(*.mp4)", "b.flv", "--set",
              "audiovolume=", "--out-folder", "out", "-processes", "2"},
             "profile=iPod Video(*.mp4) set videosize=320x240 set audiovolume= in a.flv in b.flv folder out "
             "processes=2"},
            {{"--profile", "x", "--set", "title=a=b", "a.flv"},
             "profile=x set title=a=b in a.flv processes=1"},
            {{"--list"}, "list"},
            {{"--list", "--profile", "x"}, "error: --list takes nothing else"},
            {{"--profile", "x"}, "error: The profile mode needs at least one input file"},
            {{"--profile"}, "error: Missing value for option --profile"},
            {{"--profile", "x", "--set", "videosize", "a.flv"},
             "error: --set takes <parameter>=<value>: videosize"},
            {{"--profile", "x", "--set", "=1", "a.flv"}, "error: --set takes <parameter>=<value>: =1"},
            {{"--profile", "x", "-processes", "0", "a.flv"}, "error: Invalid value for -processes: 0"},
            {{"--profile", "x", "-vcodec", "copy", "a.flv"}, "error: Unrecognized option '-vcodec'"},
    };
    for (const auto& [arguments, expected] : cases) EXPECT_EQ(Described(arguments), expected);
}

TEST(ProfileCommandLineTest, OnlyProfileAndListSwitchesSelectTheMode) {
    EXPECT_TRUE(cli::IsProfileCommandLine({"a.flv", "--profile", "x"}));
    EXPECT_TRUE(cli::IsProfileCommandLine({"--list"}));
    EXPECT_FALSE(cli::IsProfileCommandLine({"-i", "--profile.flv", "out.mkv"}));
}

}  // namespace
}  // namespace kestrova::clitest
