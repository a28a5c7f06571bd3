// Adding output files: the format, which streams an output gets, join mode, opening the file,
// the clean-up of failures and the release of the job.
#include "tests/engine/core/OutputTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace kestrova::testing {
namespace {

namespace fs = std::filesystem;

class OutputsTest : public JobTest {};

TEST_F(OutputsTest, FormatComesFromTheFileNameWhenNoneIsSet) {
    const std::string out = ScratchPath("outputs-by-name", "movie.mp4");
    ASSERT_EQ(job.AddOutputFile(out, false), 1) << job.LastError();
    EXPECT_STREQ(job.OutputFile(0)->Context->oformat->name, "mp4");
    // No inputs: the format's default kinds, video first.
    EXPECT_EQ(StreamKinds(job, 0), (std::vector{AVMEDIA_TYPE_VIDEO, AVMEDIA_TYPE_AUDIO}));
    EXPECT_TRUE(fs::exists(out));
}

TEST_F(OutputsTest, UnknownFormatsAreRefusedWithoutTouchingTheDisk) {
    const std::string unknown = ScratchPath("outputs-unknown", "movie.nosuchext");
    EXPECT_EQ(job.AddOutputFile(unknown, false), -1);
    EXPECT_EQ(job.LastError(), "Unable to find a suitable output format for '" + unknown + "'");
    EXPECT_FALSE(fs::exists(unknown));

    job.ApplyOption("f", "nosuchformat");
    EXPECT_EQ(job.AddOutputFile(ScratchPath("outputs-unknown", "movie.mp4"), false), -1);
    EXPECT_EQ(job.LastError(), "Requested output format 'nosuchformat' is not a suitable output format");
    EXPECT_EQ(job.NbOutputFiles(), 0);
}

// The server-feed format only means something over HTTP; a plain "ffm" file is an output like
// any other (and the installed libraries have no such muxer).
TEST_F(OutputsTest, FfmToAPlainFileIsAnOrdinaryOutput) {
    job.ApplyOption("f", "ffm");
    const int result = job.AddOutputFile(ScratchPath("outputs-ffm", "feed.ffm"), false);
    if (ff::av_guess_format("ffm", nullptr, nullptr)) {
        EXPECT_EQ(result, 1) << job.LastError();
    } else {
        EXPECT_EQ(result, -1);
        EXPECT_EQ(job.LastError(), "Requested output format 'ffm' is not a suitable output format");
    }
}

TEST_F(OutputsTest, StreamKindsAreNarrowedByTheInputs) {
    ASSERT_TRUE(job.AddInputFile(SmallClip("mp3", 1.0, false, true))) << job.LastError();
    ASSERT_EQ(job.AddOutputFile(ScratchPath("outputs-audio-only", "sound.mp4"), false), 1) << job.LastError();
    EXPECT_EQ(StreamKinds(job, 0), std::vector{AVMEDIA_TYPE_AUDIO});
}

TEST_F(OutputsTest, DisableFlagsRemoveTheirKind) {
    ASSERT_TRUE(job.AddInputFile(SmallClip("mp4"))) << job.LastError();
    job.ApplyOption("vn", "");
    ASSERT_EQ(job.AddOutputFile(ScratchPath("outputs-vn", "a.mp4"), false), 1) << job.LastError();
    EXPECT_EQ(StreamKinds(job, 0), std::vector{AVMEDIA_TYPE_AUDIO});

    job.ResetJob();
    ASSERT_TRUE(job.AddInputFile(SmallClip("mp4"))) << job.LastError();
    job.ApplyOption("an", "1");
    ASSERT_EQ(job.AddOutputFile(ScratchPath("outputs-vn", "b.mp4"), false), 1) << job.LastError();
    EXPECT_EQ(StreamKinds(job, 0), std::vector{AVMEDIA_TYPE_VIDEO});
}

TEST_F(OutputsTest, JoinRepeatsTheOutputOncePerInputAndSumsTheDurations) {
    int64_t sum = 0;
    for (double duration : {1.0, 1.5, 2.0}) {
        ASSERT_TRUE(job.AddInputFile(SmallClip("mp4", duration))) << job.LastError();
        sum += job.Files().InputFiles[job.NbInputFiles() - 1]->duration;
    }
    ASSERT_EQ(job.AddOutputFile(ScratchPath("outputs-join", "joined.mp4"), true), 3) << job.LastError();
    EXPECT_TRUE(job.RunState().Join);
    EXPECT_EQ(job.TotalDuration(), sum);
    for (int i = 1; i < 3; ++i) {
        EXPECT_EQ(job.OutputFile(i), job.OutputFile(0));
    }
    EXPECT_EQ(StreamKinds(job, 0), (std::vector{AVMEDIA_TYPE_VIDEO, AVMEDIA_TYPE_AUDIO}));

    EXPECT_EQ(job.AddOutputFile(ScratchPath("outputs-join", "second.mp4"), false), -1);
    EXPECT_EQ(job.LastError(), "Cannot join more than one output file.");
    EXPECT_EQ(job.NbOutputFiles(), 3);
}

TEST_F(OutputsTest, FiltersRefuseCropBandsAndPadsWithResizingFilters) {
    job.ApplyOption("s", "320x240");
    job.ApplyOption("vfilters", "hflip");
    job.ApplyOption("croptop", "8");
    EXPECT_EQ(job.AddOutputFile(ScratchPath("outputs-filters", "a.mp4"), false), -1);
    EXPECT_EQ(job.LastError(), "Cannot enable crop options and filters at the same time.");

    job.ResetJob();
    job.ApplyOption("padleft", "8");
    job.ApplyOption("vfilters", "hflip, Scale=320:240");
    EXPECT_EQ(job.AddOutputFile(ScratchPath("outputs-filters", "b.mp4"), false), -1);
    EXPECT_EQ(job.LastError(),
              "Cannot enable pad options and the filters which resize frame at the same time. "
              "(crop, rotate, scale, transpose, etc.)");

    job.ApplyOption("vfilters", "hflip,vflip");
    EXPECT_EQ(job.AddOutputFile(ScratchPath("outputs-filters", "c.mp4"), false), 1) << job.LastError();
    EXPECT_TRUE(job.RunState().UseFilters);
}

TEST_F(OutputsTest, MetadataGoesOnTheOutputFirstAddedKeyWinning) {
    job.ApplyOption("metadata", "title=first");
    job.ApplyOption("metadata", "title=second");
    job.ApplyOption("metadata", "artist=someone");
    ASSERT_EQ(job.AddOutputFile(ScratchPath("outputs-metadata", "m.mkv"), false), 1) << job.LastError();
    const AVDictionary* metadata = job.OutputFile(0)->Context->metadata;
    EXPECT_EQ(DictionaryValue(metadata, "title"), "first");
    EXPECT_EQ(DictionaryValue(metadata, "artist"), "someone");
    EXPECT_TRUE(job.RunSettings().Metadata.empty());
}

// The loop count goes only to muxers that take the value: -1 is "play once" for GIF and out of
// range for WebP, whose header would then fail.
TEST_F(OutputsTest, TheLoopCountReachesOnlyMuxersThatTakeIt) {
    ASSERT_EQ(job.AddOutputFile(ScratchPath("outputs-loop", "a.gif"), false), 1) << job.LastError();
    EXPECT_EQ(DictionaryValue(job.OutputFile(0)->MuxerOptions.get(), "loop"), "-1");
    ASSERT_EQ(job.AddOutputFile(ScratchPath("outputs-loop", "a.webp"), false), 2) << job.LastError();
    EXPECT_EQ(DictionaryValue(job.OutputFile(1)->MuxerOptions.get(), "loop"), "");
    job.ApplyOption("loop_output", "3");
    ASSERT_EQ(job.AddOutputFile(ScratchPath("outputs-loop", "b.webp"), false), 3) << job.LastError();
    EXPECT_EQ(DictionaryValue(job.OutputFile(2)->MuxerOptions.get(), "loop"), "3");
}

TEST_F(OutputsTest, AnUnopenableFileIsReportedAndNothingIsKept) {
    const std::string out = ScratchPath("outputs-missing", "no/such/folder/out.mp4");
    job.ApplyOption("vbsf", "null");
    EXPECT_EQ(job.AddOutputFile(out, false), -1);
    EXPECT_EQ(job.LastError(), "Could not open '" + out + "': No such file or directory");
    EXPECT_EQ(job.NbOutputFiles(), 0);
    EXPECT_EQ(job.Files().NbOutputCodecs, 0);
}

TEST_F(OutputsTest, ReleaseRemovesOutputsLeftEmptyAndKeepsWrittenOnes) {
    const std::string empty = ScratchPath("outputs-release", "empty.mp4");
    const std::string written = ScratchPath("outputs-release-written", "written.mkv");
    ASSERT_EQ(job.AddOutputFile(empty, false), 1) << job.LastError();
    ASSERT_EQ(job.AddOutputFile(written, false), 2) << job.LastError();
    ff::avio_write(job.OutputFile(1)->Context->pb, reinterpret_cast<const unsigned char*>("data"), 4);
    ASSERT_TRUE(fs::exists(empty));

    job.ReleaseJob();
    EXPECT_FALSE(fs::exists(empty));
    ASSERT_TRUE(fs::exists(written));
    EXPECT_EQ(fs::file_size(written), 4u);
    EXPECT_EQ(job.NbOutputFiles(), 0);
    EXPECT_EQ(job.OutputFile(0), nullptr);
}

TEST_F(OutputsTest, ReleaseOfAJoinOutputClosesItOnce) {
    for (int i = 0; i < 2; ++i) ASSERT_TRUE(job.AddInputFile(SmallClip("mp4"))) << job.LastError();
    const std::string out = ScratchPath("outputs-join-release", "joined.mp4");
    ASSERT_EQ(job.AddOutputFile(out, true), 2) << job.LastError();
    job.ReleaseJob();
    EXPECT_FALSE(fs::exists(out));
    EXPECT_FALSE(job.RunState().Join);
    EXPECT_EQ(job.AddOutputFile(out, false), 1) << "a released job takes a new output";
}

TEST_F(OutputsTest, AtMostTwentyOutputEntries) {
    const std::string folder = testmedia::TempDir("outputs-many");
    for (int i = 1; i <= kMaxFiles; ++i)
        ASSERT_EQ(job.AddOutputFile(folder + "/o" + std::to_string(i) + ".mkv", false), i) << job.LastError();
    EXPECT_EQ(job.AddOutputFile(folder + "/one-more.mkv", false), -1);
    EXPECT_EQ(job.LastError(), "max output files 20 reached");
}

}  // namespace
}  // namespace kestrova::testing
