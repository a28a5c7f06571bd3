// Options with their own handling: their effect, their exact messages, and that a refused
// value leaves the job exactly as it was.
#include "tests/engine/core/JobTestSupport.h"

#include "engine/frame/ProgramLayout.h"
#include "tests/support/TestMedia.h"

#include <filesystem>

namespace kestrova::testing {
namespace {

using OptionChecksTest = JobTest;

constexpr char kVerticalCrop[] = "Vertical crop dimensions are outside the range of the original image.\n"
                                 "Remember to crop first and scale second.";
constexpr char kHorizontalCrop[] = "Horizontal crop dimensions are outside the range of the original image.\n"
                                   "Remember to crop first and scale second.";

// The option must raise `message` and change nothing.
#define EXPECT_REFUSED(name, value, message)                                                                 \
    do {                                                                                                     \
        const std::string before = DescribeJob(job);                                                         \
        EXPECT_EQ(ErrorOf([&] { job.ApplyOption(name, value); }), message);                                  \
        EXPECT_EQ(DescribeJob(job), before) << name << " " << value;                                         \
    } while (false)

TEST_F(OptionChecksTest, CropReducesTheFrameAndChecksAgainstTheReducedSize) {
    job.ApplyOption("s", "640x360");
    job.ApplyOption("croptop", "-5");
    EXPECT_EQ(job.PendingVideo().CropTop, 0);
    EXPECT_EQ(job.PendingVideo().FrameHeight, 360);

    job.ApplyOption("croptop", "100");
    EXPECT_EQ(job.PendingVideo().CropTop, 100);
    EXPECT_EQ(job.PendingVideo().FrameHeight, 260);
    // 260 left: a bottom band of 260 no longer fits although 360 - 100 was the start.
    EXPECT_REFUSED("cropbottom", "260", kVerticalCrop);
    job.ApplyOption("cropbottom", "259");
    EXPECT_EQ(job.PendingVideo().FrameHeight, 1);

    EXPECT_REFUSED("cropleft", "640", kHorizontalCrop);
    job.ApplyOption("cropleft", "40");
    job.ApplyOption("cropright", "40");
    EXPECT_EQ(job.PendingVideo().FrameWidth, 560);
    EXPECT_REFUSED("cropright", "560", kHorizontalCrop);
}

TEST_F(OptionChecksTest, CropEqualToTheHeightIsRefused) {
    job.ApplyOption("s", "320x240");
    EXPECT_REFUSED("croptop", "240", kVerticalCrop);
    EXPECT_REFUSED("croptop", "", "Invalid integer value \"\" for option \"croptop\"");
}

TEST_F(OptionChecksTest, PadSizesStoredWhenNotNegative) {
    job.ApplyOption("padtop", "8");
    job.ApplyOption("padbottom", "-1");
    job.ApplyOption("padleft", "0");
    job.ApplyOption("padright", "16");
    EXPECT_EQ(job.PendingVideo().PadTop, 8);
    EXPECT_EQ(job.PendingVideo().PadBottom, 0);
    EXPECT_EQ(job.PendingVideo().PadRight, 16);
}

TEST_F(OptionChecksTest, PadColourIsConvertedFromRgb) {
    job.ApplyOption("padcolor", "0");  // black
    EXPECT_EQ(job.PendingVideo().PadColor, (TYuvColour{0, 128, 128}));
    job.ApplyOption("padcolor", std::to_string(0xFFFFFF));  // white
    EXPECT_EQ(job.PendingVideo().PadColor, (TYuvColour{255, 128, 128}));
    job.ApplyOption("padcolor", std::to_string(0x0000FF));  // red lives in the low byte
    EXPECT_EQ(job.PendingVideo().PadColor, (TYuvColour{76, 85, 255}));
    job.ApplyOption("padcolor", std::to_string(0xFF0000));  // blue
    EXPECT_EQ(job.PendingVideo().PadColor, (TYuvColour{29, 255, 107}));
}

TEST_F(OptionChecksTest, QscaleBounds) {
    job.ApplyOption("qscale", "255");
    EXPECT_FLOAT_EQ(job.PendingVideo().QScale, 255.0f);
    EXPECT_REFUSED("qscale", "0", "qscale must be > 0.0 and <= 255");
    EXPECT_REFUSED("qscale", "255.5", "qscale must be > 0.0 and <= 255");
    EXPECT_REFUSED("qscale", "-3", "qscale must be > 0.0 and <= 255");
}

TEST_F(OptionChecksTest, PassIsOneOrTwo) {
    job.ApplyOption("pass", "2");
    EXPECT_EQ(job.PendingVideo().Pass, 2);
    EXPECT_REFUSED("pass", "3", "pass number can be only 1 or 2");
    EXPECT_REFUSED("pass", "0", "pass number can be only 1 or 2");
    EXPECT_REFUSED("pass", "first", "pass number can be only 1 or 2");
}

TEST_F(OptionChecksTest, TagsMustBeFourCharacters) {
    job.ApplyOption("vtag", "XVID");
    EXPECT_EQ(job.PendingVideo().CodecTag, 0x44495658u);  // little-endian "XVID"
    EXPECT_REFUSED("vtag", "XVI", "video tag parameter must be 4 chars");
    EXPECT_REFUSED("atag", "mp4a5", "audio tag parameter must be 4 chars");
    EXPECT_REFUSED("stag", "", "subtitle tag parameter must be 4 chars");
}

TEST_F(OptionChecksTest, ItsscaleIndexIsChecked) {
    job.ApplyOption("itsscale", "19:2.0");
    EXPECT_DOUBLE_EQ(job.Files().InputFilesTsScale[0][19], 2.0);
    EXPECT_REFUSED("itsscale", "20:2.0", "stream index over MAX_STREAMS(20)");
    EXPECT_REFUSED("itsscale", "-1:2.0", "stream index over MAX_STREAMS(20)");
    const std::string before = DescribeJob(job);
    EXPECT_NE(ErrorOf([&] { job.ApplyOption("itsscale", "3:fast"); }), "<no exception>");
    EXPECT_NE(ErrorOf([&] { job.ApplyOption("itsscale", "3"); }), "<no exception>");
    EXPECT_EQ(DescribeJob(job), before);
}

TEST_F(OptionChecksTest, MatricesNeedSixtyFourCoefficients) {
    std::string full;
    for (int i = 0; i < 64; ++i) {
        if (i) full += ',';
        full += std::to_string(i + 1);
    }
    job.ApplyOption("intra_matrix", full);
    ASSERT_TRUE(job.PendingVideo().IntraMatrix.has_value());
    EXPECT_EQ((*job.PendingVideo().IntraMatrix)[0], 1);
    EXPECT_EQ((*job.PendingVideo().IntraMatrix)[63], 64);

    EXPECT_REFUSED("inter_matrix", "1,2,3,4,5,6,7,8,9,10",
                   "Syntax error in matrix \"1,2,3,4,5,6,7,8,9,10\" at coeff 9");
    EXPECT_FALSE(job.PendingVideo().InterMatrix.has_value());
    // A refused matrix keeps the earlier one.
    EXPECT_REFUSED("intra_matrix", "16,16", "Syntax error in matrix \"16,16\" at coeff 1");
    EXPECT_EQ((*job.PendingVideo().IntraMatrix)[63], 64);

    std::string reused;
    for (int i = 0; i < 64; ++i) reused += i ? ",8" : "8";
    job.ApplyOption("intra_matrix", reused);
    EXPECT_EQ((*job.PendingVideo().IntraMatrix)[0], 8);
    EXPECT_EQ((*job.PendingVideo().IntraMatrix)[63], 8);
}

TEST_F(OptionChecksTest, MetadataNeedsAnEqualsSign) {
    EXPECT_REFUSED("metadata", "title", "Missing =");
    job.ApplyOption("metadata", "title=A=B");
    ASSERT_EQ(job.RunSettings().Metadata.size(), 1u);
    EXPECT_EQ(job.RunSettings().Metadata[0].first, "title");
    EXPECT_EQ(job.RunSettings().Metadata[0].second, "A=B");
}

TEST_F(OptionChecksTest, FrameSizeRateAndAspect) {
    job.ApplyOption("s", "vga");
    EXPECT_EQ(job.PendingVideo().FrameWidth, 640);
    EXPECT_EQ(job.PendingVideo().FrameHeight, 480);
    job.ApplyOption("r", "ntsc");
    EXPECT_EQ(job.PendingVideo().FrameRate.num, 30000);
    EXPECT_EQ(job.PendingVideo().FrameRate.den, 1001);
    job.ApplyOption("aspect", "16:9");
    EXPECT_FLOAT_EQ(job.PendingVideo().FrameAspectRatio, 16.0f / 9.0f);
    job.ApplyOption("aspect", "1.5");
    EXPECT_FLOAT_EQ(job.PendingVideo().FrameAspectRatio, 1.5f);

    EXPECT_REFUSED("s", "big", "Incorrect frame size");
    EXPECT_REFUSED("s", "", "Incorrect frame size");
    EXPECT_REFUSED("r", "fast", "Incorrect frame rate");
    EXPECT_REFUSED("r", "-25", "Incorrect frame rate");
    EXPECT_REFUSED("aspect", "4:0", "Incorrect aspect ratio specification.");
    EXPECT_REFUSED("aspect", "0", "Incorrect aspect ratio specification.");
    EXPECT_REFUSED("aspect", "wide", "Incorrect aspect ratio specification.");
}

TEST_F(OptionChecksTest, PixelAndSampleFormats) {
    job.ApplyOption("pix_fmt", "yuv422p");
    EXPECT_EQ(job.PendingVideo().PixelFormat, AV_PIX_FMT_YUV422P);
    EXPECT_REFUSED("pix_fmt", "yuv999", "Unknown pixel format requested: yuv999");
    job.ApplyOption("sample_fmt", "s16");
    EXPECT_EQ(job.PendingAudio().SampleFormat, AV_SAMPLE_FMT_S16);
}

TEST_F(OptionChecksTest, FormatListsAreLoggedAtInfo) {
    job.ApplyOption("pix_fmt", "list");
    job.ApplyOption("sample_fmt", "list");
    EXPECT_EQ(job.PendingVideo().PixelFormat, -1) << "listing selects nothing";
    int pixelLines = 0;
    for (const TCapturedLine& line : Lines())
        if (line.Level == llInfo && line.Text.rfind("yuv420p ", 0) == 0) ++pixelLines;
    EXPECT_EQ(pixelLines, 1);
    EXPECT_TRUE(LoggedContaining("s16"));
    EXPECT_GT(Lines().size(), 100u) << "a header and a line per format";
}

TEST_F(OptionChecksTest, CodecNamesAndStreamCopy) {
    job.ApplyOption("vcodec", "libx264");
    EXPECT_EQ(job.PendingVideo().CodecName, "libx264");
    job.ApplyOption("vcodec", "copy");
    EXPECT_EQ(job.PendingVideo().CodecName, "") << "the earlier name is freed";
    EXPECT_TRUE(job.PendingVideo().StreamCopy);
    job.ApplyOption("acodec", "aac");
    job.ApplyOption("scodec", "copy");
    EXPECT_EQ(job.PendingAudio().CodecName, "aac");
    EXPECT_FALSE(job.PendingAudio().StreamCopy);
    EXPECT_TRUE(job.PendingSubtitle().StreamCopy);
}

TEST_F(OptionChecksTest, FormatPgmyuvBecomesImage2) {
    job.ApplyOption("f", "flv");
    EXPECT_EQ(job.Files().FileFormat, "flv");
    job.ApplyOption("f", "pgmyuv");
    EXPECT_EQ(job.Files().FileFormat, "image2");
    EXPECT_TRUE(job.RunSettings().PgmYuv);
    EXPECT_TRUE(Logged(llInfo, "pgmyuv format is deprecated, use image2"));
}

TEST_F(OptionChecksTest, StreamAndMetaDataMaps) {
    job.ApplyOption("map", "0.1");
    job.ApplyOption("map", "1.2:0.3");
    job.ApplyOption("map_meta_data", "1:0");
    ASSERT_EQ(job.Files().NbStreamMaps, 2);
    const TStreamMap& plain = job.Files().StreamMaps[0];
    EXPECT_EQ((std::array{plain.FileIndex, plain.StreamIndex, plain.SyncFileIndex, plain.SyncStreamIndex}),
              (std::array{0, 1, 0, 1}));
    const TStreamMap& synced = job.Files().StreamMaps[1];
    EXPECT_EQ(
            (std::array{synced.FileIndex, synced.StreamIndex, synced.SyncFileIndex, synced.SyncStreamIndex}),
            (std::array{1, 2, 0, 3}));
    ASSERT_EQ(job.Files().NbMetaDataMaps, 1);
    EXPECT_EQ(job.Files().MetaDataMaps[0].OutFile, 1);
    EXPECT_EQ(job.Files().MetaDataMaps[0].InFile, 0);

    const std::string before = DescribeJob(job);
    for (const char* bad : {"", "a.b", "0.", "0.1:2", "0.1:2.3.4"})
        EXPECT_NE(ErrorOf([&] { job.ApplyOption("map", bad); }), "<no exception>") << bad;
    EXPECT_NE(ErrorOf([&] { job.ApplyOption("map_meta_data", "1"); }), "<no exception>");
    EXPECT_EQ(DescribeJob(job), before);
}

TEST_F(OptionChecksTest, StreamMapTableHasFourHundredEntries) {
    for (int i = 0; i < kMaxStreamMaps; ++i) job.ApplyOption("map", "0.0");
    EXPECT_NE(ErrorOf([&] { job.ApplyOption("map", "0.0"); }), "<no exception>");
    EXPECT_EQ(job.Files().NbStreamMaps, kMaxStreamMaps);
}

TEST_F(OptionChecksTest, BitstreamFiltersJoinTheChainOfTheirKind) {
    job.ApplyOption("vbsf", "h264_mp4toannexb");
    job.ApplyOption("vbsf", "dump_extra=freq=keyframe");
    job.ApplyOption("absf", "aac_adtstoasc");
    job.ApplyOption("sbsf", "=ignored");
    ASSERT_EQ(job.BitstreamFilters().Video.size(), 2u);
    EXPECT_STREQ(job.BitstreamFilters().Video[1].Context->filter->name, "dump_extra");
    EXPECT_EQ(job.BitstreamFilters().Video[1].Arguments, "freq=keyframe");
    EXPECT_EQ(job.BitstreamFilters().Audio.size(), 1u);
    EXPECT_EQ(job.BitstreamFilters().Subtitle.size(), 0u);
    EXPECT_REFUSED("vbsf", " nosuchfilter ", "Unknown bitstream filter nosuchfilter");
}

TEST_F(OptionChecksTest, VideoHookThatCannotLoadIsReported) {
    EXPECT_REFUSED("vhook", "/nonexistent/hook.so|-x|1",
                   "Failed to add video hook function: /nonexistent/hook.so|-x|1");
    EXPECT_FALSE(job.RunState().HooksInUse);
}

// The hook module the frame suite builds; the test is skipped when that suite is not built.
std::string TestHookModule() {
    const std::string path =
            testmedia::BuildDir() + "/tests/engine/frame/hooks/kestrova_test_hook_complete.so";
    return std::filesystem::exists(path) ? path : std::string();
}

TEST_F(OptionChecksTest, VideoHookWithArgumentsIsAdded) {
    const std::string module = TestHookModule();
    if (module.empty()) GTEST_SKIP() << "test hook module not built";
    job.ApplyOption("vhook", module + " 7");
    job.ApplyOption("vhook", module + "|9");
    EXPECT_EQ(job.VideoHooks().Count(), 2u);
    EXPECT_TRUE(job.RunState().HooksInUse);
    EXPECT_REFUSED("vhook", module + "|fail", "Failed to add video hook function: " + module + "|fail");
    EXPECT_EQ(job.VideoHooks().Count(), 2u);
}

TEST_F(OptionChecksTest, HookPeriodsAreAscendingWholeMillisecondsOrRefused) {
    for (const char* taken : {"", " 0 - 5000 , 5000-6000 ", "0-2147483647"})
        EXPECT_EQ(ErrorOf([&] { job.ApplyOption("vhookperiods", taken); }), "<no exception>") << taken;
    for (const std::string refused : {"5000", "0-", "-1-5", "0-5000,", "0-5000;6000-7000", "0.5-3", "5000-0",
                                      "10-10", "0-5000,4000-6000", "6-7,0-1", "0-2147483648"})
        EXPECT_REFUSED("vhookperiods", refused,
                       "Invalid value \"" + refused + "\" for option \"vhookperiods\"");
}

TEST_F(OptionChecksTest, VstatsNamesAFileInTheUserDataFolder) {
    job.ApplyOption("vstats", "");
    const std::string& name = job.RunSettings().VstatsFileName;
    const std::string prefix = UserDataFolder() + "vstats_";
    ASSERT_EQ(name.size(), prefix.size() + 6 + 4) << name;
    EXPECT_EQ(name.substr(0, prefix.size()), prefix);
    EXPECT_EQ(name.substr(name.size() - 4), ".log");
}

TEST_F(OptionChecksTest, OptionsOfOtherStagesAreRefusedPlainly) {
    EXPECT_REFUSED("newvideo", "", "At least one output file must be specified");
    EXPECT_REFUSED("newaudio", "", "At least one output file must be specified");
    EXPECT_REFUSED("newsubtitle", "", "At least one output file must be specified");
}

TEST_F(OptionChecksTest, CommandLineOnlyOptionsOnlyLog) {
    const std::string before = DescribeJob(job);
    for (const char* name :
         {"L", "h", "version", "formats", "codecs", "bsfs", "protocols", "filters", "i", "y", "benchmark"}) {
        job.ApplyOption(name, "input.flv");
        EXPECT_TRUE(Logged(llInfo, std::string("Do nothing: option - ") + name)) << name;
    }
    EXPECT_EQ(DescribeJob(job), before);
}

TEST_F(OptionChecksTest, LoglevelSetsTheEngineLogger) {
    job.ApplyOption("loglevel", "WARNING");
    EXPECT_EQ(TFFLogger::Instance().LogLevel(), llWarning);
    job.ApplyOption("loglevel", "17");
    EXPECT_EQ(TFFLogger::Instance().LogLevel(), llError);
    const std::string error = ErrorOf([&] { job.ApplyOption("loglevel", "chatty"); });
    EXPECT_NE(error.find("chatty"), std::string::npos) << error;
    EXPECT_NE(error.find("loglevel"), std::string::npos) << error;
    EXPECT_EQ(TFFLogger::Instance().LogLevel(), llError);
}

TEST_F(OptionChecksTest, NamesAreMatchedCaseSensitively) {
    job.ApplyOption("VN", "1");  // not the "vn" option: goes to the libraries, which know no "VN"
    EXPECT_FALSE(job.PendingVideo().Disable);
}

}  // namespace
}  // namespace kestrova::testing
