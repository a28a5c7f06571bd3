// Set-up of a run: which input stream feeds each output stream and the messages of every set-up
// step that options can provoke. A failed set-up ends the run with the message as its failure
// text.
#include "tests/engine/core/TranscodeTestSupport.h"

#include <filesystem>
#include <fstream>

namespace kestrova::testing {
namespace {

class StreamMappingTest : public RunTest {
protected:
    void SetUp() override {
        RunTest::SetUp();
        Folder = TestFolder();
    }

    // Runs the job and gives its failure text ("" when it finished normally).
    std::string Failure() {
        Run();
        EXPECT_EQ(Notices, 1);
        return job.RunState().Failed ? job.RunState().FailureText : std::string();
    }

    std::string Folder;
};

TEST_F(StreamMappingTest, MapsMustMatchTheOutputStreamsInNumber) {
    Prepare(RunClip("f4v", 1.0), {{"vcodec", "copy"}, {"acodec", "copy"}, {"map", "0.1"}},
            Folder + "/out.mkv");
    EXPECT_EQ(Failure(), "Number of stream maps must match number of output streams");
}

TEST_F(StreamMappingTest, AMapMustJoinStreamsOfOneKind) {
    Prepare(RunClip("f4v", 1.0), {{"vcodec", "copy"}, {"acodec", "copy"}, {"map", "0.1"}, {"map", "0.0"}},
            Folder + "/out.mkv");
    EXPECT_EQ(Failure(), "Codec type mismatch for mapping #0.1 (Audio) -> #0.0 (Video)");
}

TEST_F(StreamMappingTest, MappedStreamsMustExist) {
    Prepare(RunClip("f4v", 1.0), {{"vcodec", "copy"}, {"acodec", "copy"}, {"map", "0.0"}, {"map", "0.5"}},
            Folder + "/out.mkv");
    EXPECT_EQ(Failure(), "Could not find input stream #0.5");
}

TEST_F(StreamMappingTest, SyncStreamsMustExist) {
    Prepare(RunClip("f4v", 1.0), {{"vcodec", "copy"}, {"acodec", "copy"}, {"map", "0.0"}, {"map", "0.1:1.0"}},
            Folder + "/out.mkv");
    EXPECT_EQ(Failure(), "Could not find sync stream #1.0");
}

TEST_F(StreamMappingTest, AnOutputStreamNeedsAnInputStreamOfItsKind) {
    Prepare(RunClip("f4v", 1.0, true, false), {{"vcodec", "copy"}}, Folder + "/out.mkv");
    job.ApplyOption("acodec", "mp2");
    job.ApplyOption("newaudio", "");
    EXPECT_EQ(Failure(), "Could not find input stream matching output stream #0.1 (Audio)");
}

TEST_F(StreamMappingTest, AnOutputWithoutStreamsFails) {
    Prepare(RunClip("f4v", 1.0), {{"vn", "1"}, {"an", "1"}}, Folder + "/out.mkv");
    EXPECT_EQ(Failure(), "Output file #0 does not contain any stream");
}

TEST_F(StreamMappingTest, TwoOutputsTakeTheSameInputStreams) {
    ASSERT_TRUE(job.AddInputFile(RunClip("f4v", 1.0))) << job.LastError();
    for (const char* name : {"/first.mkv", "/second.mkv"}) {
        job.ApplyOption("vcodec", "copy");
        job.ApplyOption("acodec", "copy");
        ASSERT_GT(job.AddOutputFile(Folder + name, false), 0) << job.LastError();
    }
    EXPECT_EQ(Failure(), "");
    EXPECT_TRUE(Logged(llVerbose, "  Stream #0.0 -> #1.0 (Video)"));
    EXPECT_TRUE(Logged(llVerbose, "  Stream #0.1 -> #1.1 (Audio)"));
    for (const char* name : {"/first.mkv", "/second.mkv"}) {
        const TProbedFile result = ProbeFile(Folder + name);
        ASSERT_TRUE(result.Opened) << name;
        EXPECT_EQ(result.Streams.size(), 2u) << name;
    }
}

TEST_F(StreamMappingTest, CopyRefusesWhatNeedsDecodedFrames) {
    Prepare(RunClip("f4v", 1.0), {{"vcodec", "copy"}, {"acodec", "copy"}, {"vol", "512"}},
            Folder + "/out.mkv");
    EXPECT_EQ(Failure(), "-acodec copy and -vol are incompatible (frames are not decoded)");

    job.ResetJob();
    Notices = 0;
    Prepare(RunClip("f4v", 1.0), {{"vcodec", "copy"}, {"acodec", "copy"}}, Folder + "/out.mkv");
    job.SetPreview(true);
    EXPECT_EQ(Failure(), "-vcodec copy and PostHooks are incompatible (frames are not decoded)");
}

TEST_F(StreamMappingTest, PassTwoNeedsThePassOneLog) {
    const std::string prefix = Folder + "/missing";
    Prepare(RunClip("f4v", 1.0), {{"vcodec", "mpeg4"}, {"an", "1"}, {"pass", "2"}, {"passlogfile", prefix}},
            Folder + "/out.mkv");
    EXPECT_EQ(Failure(), "Cannot read log file " + prefix + "-0.log for pass-2 encoding");
}

TEST_F(StreamMappingTest, PassOneWritesTheLogPassTwoReads) {
    const std::string input = RunClip("f4v", 1.0);
    const std::string prefix = Folder + "/stats";
    Prepare(input, {{"vcodec", "mpeg4"}, {"an", "1"}, {"pass", "1"}, {"passlogfile", prefix}},
            Folder + "/pass1.mkv");
    ASSERT_EQ(Failure(), "");
    EXPECT_GT(FileSize(prefix + "-0.log"), 0u);

    job.ResetJob();
    Notices = 0;
    Prepare(input, {{"vcodec", "mpeg4"}, {"an", "1"}, {"pass", "2"}, {"passlogfile", prefix}},
            Folder + "/pass2.mkv");
    EXPECT_EQ(Failure(), "");
    EXPECT_TRUE(ProbeFile(Folder + "/pass2.mkv").Opened);
}

TEST_F(StreamMappingTest, AnEncoderThatCannotOpenFailsAfterTheMappingIsLogged) {
    ASSERT_TRUE(job.AddInputFile(RunClip("f4v", 1.0))) << job.LastError();
    job.ApplyOption("vcodec", "mpeg4");
    job.ApplyOption("r", "70000");  // MPEG-4 counts time in at most 65535 ticks per second
    job.ApplyOption("an", "1");
    ASSERT_GT(job.AddOutputFile(Folder + "/odd.mkv", false), 0) << job.LastError();
    const std::string message =
            "Error while opening encoder for output stream #0.0 (Video) - maybe incorrect parameters such as "
            "bit_rate, rate, width or height";
    EXPECT_EQ(Failure(), message);
    // Logged as an error after the mapping, then as the run's failure.
    const std::vector<TCapturedLine> lines = Lines();
    int mapping = -1, error = -1;
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        if (lines[i].Text == "Stream mapping:") mapping = i;
        if (lines[i].Text == message && lines[i].Level == llError) error = i;
    }
    ASSERT_GE(mapping, 0);
    EXPECT_GT(error, mapping);
    EXPECT_TRUE(Logged(llQuiet, message));
}

TEST_F(StreamMappingTest, MetaDataMapsNeedExistingFiles) {
    Prepare(RunClip("f4v", 1.0), {{"vcodec", "copy"}, {"acodec", "copy"}, {"map_meta_data", "3:0"}},
            Folder + "/out.mkv");
    EXPECT_EQ(Failure(), "Invalid output file index 3 map_meta_data(3,0)");

    job.ResetJob();
    Notices = 0;
    Prepare(RunClip("f4v", 1.0), {{"vcodec", "copy"}, {"acodec", "copy"}, {"map_meta_data", "0:2"}},
            Folder + "/out.mkv");
    EXPECT_EQ(Failure(), "Invalid input file index 2 map_meta_data(0,2)");
}

TEST_F(StreamMappingTest, AMetaDataMapCopiesTheInputsTags) {
    // A tagged input made by the engine itself from a generated clip.
    Prepare(RunClip("f4v", 1.0), {{"vcodec", "copy"}, {"acodec", "copy"}, {"metadata", "title=Kestrova"}},
            Folder + "/tagged.mkv");
    ASSERT_EQ(Failure(), "");
    job.ResetJob();
    Notices = 0;
    Prepare(Folder + "/tagged.mkv", {{"vcodec", "copy"}, {"acodec", "copy"}, {"map_meta_data", "0:0"}},
            Folder + "/mapped.mkv");
    ASSERT_EQ(Failure(), "");
    AVFormatContext* raw = nullptr;
    ASSERT_EQ(ff::avformat_open_input(&raw, (Folder + "/mapped.mkv").c_str(), nullptr, nullptr), 0);
    InputFormatPtr mapped(raw);
    const AVDictionaryEntry* title = ff::av_dict_get(raw->metadata, "title", nullptr, 0);
    ASSERT_NE(title, nullptr);
    EXPECT_STREQ(title->value, "Kestrova");
}

}  // namespace
}  // namespace kestrova::testing
