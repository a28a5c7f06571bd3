// The output file's name and its reservation, on a real temporary folder.
#include "ChoicesFixture.h"

#include "profiles/options/OutputName.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

namespace kestrova::test {
namespace {

namespace fs = std::filesystem;

using OutputNameTest = ChoicesTest;

bool IsEmptyFile(const std::string& path) {
    std::error_code error;
    return fs::is_regular_file(path, error) && fs::file_size(path, error) == 0;
}

std::string Content(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

TEST_F(OutputNameTest, EachBuildTakesTheNextFreeNameBesideTheSource) {
    const std::string folder = BytePath("source/");
    const std::string expected[] = {"clip_(new).mp4", "clip_(new_1).mp4", "clip_(new_2).mp4"};
    for (const std::string& name : expected) {
        const TOutputOptions options = Build();
        EXPECT_EQ(options.FileName, folder + name);
        EXPECT_TRUE(IsEmptyFile(options.FileName));
    }
}

TEST_F(OutputNameTest, ExistingFilesAreSkippedAndKeepTheirContent) {
    WriteFile("source/clip_(new).mp4", "first");
    WriteFile("source/clip_(new_1).mp4", "second");
    EXPECT_EQ(Build().FileName, BytePath("source/clip_(new_2).mp4"));
    EXPECT_EQ(Content(BytePath("source/clip_(new).mp4")), "first");
    EXPECT_EQ(Content(BytePath("source/clip_(new_1).mp4")), "second");
}

TEST_F(OutputNameTest, ALinkIsNeverFollowed) {
    const std::string target = BytePath("elsewhere.mp4");
    fs::create_symlink(target,
                       BytePath("source/clip_(new).mp4"));  // dangling: creating through it would make target
    EXPECT_EQ(Build().FileName, BytePath("source/clip_(new_1).mp4"));
    EXPECT_FALSE(fs::exists(target));
}

struct TNameCase {
    const char* Name;
    const char* Source;        // below the temporary folder
    const char* OutputFolder;  // below the temporary folder; nullptr: kSameAsInput, "": empty text
    const char* Extension;
    const char* Expected;  // below the temporary folder
};

TEST_F(OutputNameTest, NameComesFromTheSourceTheFolderAndTheExtension) {
    const TNameCase cases[] = {
            {"same as input", "a/clip.flv", nullptr, "mp4", "a/clip_(new).mp4"},
            {"empty folder text", "b/clip.flv", "", "mp4", "b/clip_(new).mp4"},
            {"output folder", "c/clip.flv", "out/", "mp4", "out/clip_(new).mp4"},
            {"output folder without its separator", "d/clip.flv", "out2", "avi", "out2/clip_(new).avi"},
            {"extension in lower case", "e/clip.flv", nullptr, "MP3", "e/clip_(new).mp3"},
            {"two dots", "f/my.clip.flv", nullptr, "mp4", "f/my.clip_(new).mp4"},
            {"no extension", "g/clip", nullptr, "mp4", "g/clip_(new).mp4"},
            {"dot in a folder name", "h.d/clip", nullptr, "mp4", "h.d/clip_(new).mp4"},
            {"hidden name", "i/.clip", nullptr, "mp4", "i/.clip_(new).mp4"},
            {"blanks", "my videos/a clip.flv", "my output", "mp4", "my output/a clip_(new).mp4"},
            {"other scripts", "видео/日本 clip.flv", "вывод/", "mp4", "вывод/日本 clip_(new).mp4"},
    };
    for (const TNameCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const QString source = QString::fromUtf8(c.Source);
        QDir().mkpath(QFileInfo(Path(source)).path());
        Choices.Source.FileName = BytePath(source);
        Choices.OutputFolder =
                c.OutputFolder ? Path(QString::fromUtf8(c.OutputFolder)) : QString(kSameAsInput);
        if (c.OutputFolder && !*c.OutputFolder) Choices.OutputFolder.clear();
        if (c.OutputFolder && *c.OutputFolder) QDir().mkpath(Choices.OutputFolder);
        Choices.Extension = c.Extension;
        const TOutputOptions options = Build();
        EXPECT_EQ(options.FileName, BytePath(QString::fromUtf8(c.Expected)));
        EXPECT_TRUE(IsEmptyFile(options.FileName));
    }
}

TEST_F(OutputNameTest, AFolderThatCannotTakeTheFileStillGivesTheName) {
    Choices.OutputFolder = Path("missing/folder/");
    const TOutputOptions options = Build();
    EXPECT_EQ(options.FileName, BytePath("missing/folder/clip_(new).mp4"));
    EXPECT_FALSE(fs::exists(options.FileName));
}

TEST_F(OutputNameTest, RacingReservationsNeverShareAName) {
    constexpr int kThreads = 8;
    constexpr int kEach = 25;
    const std::string base = BytePath("race/clip");
    QDir().mkpath(Path("race"));
    std::vector<std::vector<std::string>> names(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < kEach; ++i) names[t].push_back(ReserveOutputFile(base, ".mp4"));
        });
    for (std::thread& thread : threads) thread.join();

    std::set<std::string> distinct;
    for (const auto& list : names) distinct.insert(list.begin(), list.end());
    EXPECT_EQ(distinct.size(), std::size_t{kThreads * kEach});
    EXPECT_TRUE(std::all_of(distinct.begin(), distinct.end(), IsEmptyFile));
    EXPECT_TRUE(distinct.count(base + "_(new).mp4"));
    EXPECT_TRUE(distinct.count(base + "_(new_" + std::to_string(kThreads * kEach - 1) + ").mp4"));
}

}  // namespace
}  // namespace kestrova::test
