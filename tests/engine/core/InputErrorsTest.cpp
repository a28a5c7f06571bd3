// Inputs that cannot be opened: a missing file and every damaged clip of the generator give a
// false result with the message for the file, never a crash, a hang or a leak.
#include "tests/engine/core/JobTestSupport.h"

#include "engine/frame/InputErrors.h"
#include "tests/engine/core/ClipBuilder.h"

#include <fstream>

namespace kestrova::testing {
namespace {

using InputErrorsTest = JobTest;

// Every message the input error table can give for `path`.
std::vector<std::string> TableMessages(const std::string& path) {
    std::vector<std::string> messages;
    for (TInputError error :
         {ieUnknownFormat, ieImageFileNameSyntax, ieHeaderParse, ieNoMemory, ieIO, ieNoSuchFile, ieOther})
        messages.push_back(InputErrorMessage(path, error));
    return messages;
}

bool IsTableMessage(const std::string& path, const std::string& message) {
    const auto messages = TableMessages(path);
    return std::find(messages.begin(), messages.end(), message) != messages.end() ||
           message == path + ": could not find codec parameters";
}

TEST_F(InputErrorsTest, MissingFile) {
    const std::string path = testmedia::TempDir("input_errors_missing") + "/absent.flv";
    EXPECT_FALSE(job.AddInputFile(path));
    EXPECT_EQ(job.LastError(), path + ": no such file or directory");
    EXPECT_EQ(job.NbInputFiles(), 0);
}

TEST_F(InputErrorsTest, UnknownContainer) {
    const std::string path = TClipBuilder("flv", 1).Size(160, 120).Damage("garbage").Path();
    EXPECT_FALSE(job.AddInputFile(path));
    EXPECT_EQ(job.LastError(), path + ": Unknown format");
}

TEST_F(InputErrorsTest, EmptyFile) {
    const std::string path = TClipBuilder("mp4", 1).Size(160, 120).Damage("empty").Path();
    EXPECT_FALSE(job.AddInputFile(path));
    EXPECT_EQ(job.LastError(), path + ": Unknown format");
}

TEST_F(InputErrorsTest, TextFileWithAMediaExtension) {
    const std::string path = testmedia::TempDir("input_errors_text") + "/notes.mp3";
    std::ofstream(path) << "These are not the droids you are looking for.\n";
    EXPECT_FALSE(job.AddInputFile(path));
    EXPECT_TRUE(IsTableMessage(path, job.LastError())) << job.LastError();
}

TEST_F(InputErrorsTest, TruncatedMp4LosesItsIndex) {
    const std::string path = TClipBuilder("mp4", 2).Size(160, 120).Damage("truncated").Path();
    EXPECT_FALSE(job.AddInputFile(path));
    EXPECT_EQ(job.LastError(), path + ": Error while parsing header");
}

TEST_F(InputErrorsTest, ForcedFormatThatDoesNotFit) {
    job.ApplyOption("f", "wav");
    const std::string path = TClipBuilder("flv", 1).Size(160, 120).Path();
    EXPECT_FALSE(job.AddInputFile(path));
    EXPECT_EQ(job.LastError(), path + ": Error while parsing header");
    EXPECT_EQ(job.Files().FileFormat, "") << "the format name is consumed";
}

TEST_F(InputErrorsTest, FailureFreesAndClearsThePendingNames) {
    job.ApplyOption("vcodec", "h264");
    job.ApplyOption("acodec", "aac");
    const std::string path = TClipBuilder("mp4", 1).Size(160, 120).Damage("garbage").Path();
    EXPECT_FALSE(job.AddInputFile(path));
    EXPECT_EQ(job.PendingVideo().CodecName, "");
    EXPECT_EQ(job.PendingAudio().CodecName, "");
    EXPECT_EQ(job.Files().InputFiles[0], nullptr);
}

struct TDamageCase {
    std::string Format;
    std::string Damage;
};

class DamagedClipTest : public JobTest, public ::testing::WithParamInterface<TDamageCase> {};

// A damaged clip is refused with a message of the table, or, when the damage leaves a readable
// file (a streamable format cut short, frames left after a spoilt start), opened; either way the
// job stays consistent. Empty and garbage files are never media.
TEST_P(DamagedClipTest, RefusedWithTheTableMessageOrOpenedCleanly) {
    const TDamageCase& c = GetParam();
    const std::string path = TClipBuilder(c.Format, 1).Size(160, 120).Damage(c.Damage).Path();
    const bool added = job.AddInputFile(path);
    if (added) {
        EXPECT_TRUE(c.Damage == "truncated" || c.Damage == "overwritten") << c.Damage;
        EXPECT_EQ(job.NbInputFiles(), 1);
        EXPECT_GT(job.Files().InputFiles[0]->nb_streams, 0u);
    } else {
        EXPECT_TRUE(IsTableMessage(path, job.LastError())) << job.LastError();
        EXPECT_EQ(job.NbInputFiles(), 0);
        EXPECT_EQ(job.Files().NbInputCodecs, 0);
    }
    if (c.Damage == "empty" || c.Damage == "garbage") {
        EXPECT_EQ(job.LastError(), path + ": Unknown format");
    }
}

std::vector<TDamageCase> DamageCases() {
    std::vector<TDamageCase> cases;
    for (const char* format : {"flv", "f4v", "mp4", "mp4-mpeg4", "mp3", "wma", "wav"})
        for (const char* damage : {"empty", "garbage", "truncated", "overwritten"})
            cases.push_back({format, damage});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryDamage, DamagedClipTest, ::testing::ValuesIn(DamageCases()),
                         [](const ::testing::TestParamInfo<TDamageCase>& info) {
                             std::string name = info.param.Format + "_" + info.param.Damage;
                             for (char& c : name)
                                 if (c == '-') c = '_';
                             return name;
                         });

TEST(InputErrorTable, MessagesForEachCode) {
    EXPECT_EQ(InputErrorMessage("a.flv", ieUnknownFormat), "a.flv: Unknown format");
    EXPECT_EQ(InputErrorMessage("a.flv", ieHeaderParse), "a.flv: Error while parsing header");
    EXPECT_EQ(InputErrorMessage("a.flv", ieNoMemory), "a.flv: memory allocation error occurred");
    EXPECT_EQ(
            InputErrorMessage("a.flv", ieIO),
            "a.flv: I/O error occurred\r\nUsually that means that input file is truncated and/or corrupted.");
    EXPECT_EQ(InputErrorMessage("a.flv", ieNoSuchFile), "a.flv: no such file or directory");
    EXPECT_EQ(InputErrorMessage("a.flv", ieOther), "a.flv: Error while opening file");
    EXPECT_EQ(InputErrorMessage("img.jpg", ieImageFileNameSyntax),
              "img.jpg: Incorrect image filename syntax.\r\n"
              "Use '%d' to specify the image number:\r\n"
              "  for img1.jpg, img2.jpg, ..., use 'img%d.jpg';\r\n"
              "  for img001.jpg, img002.jpg, ..., use 'img%03d.jpg'.");
}

}  // namespace
}  // namespace kestrova::testing
