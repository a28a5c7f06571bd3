// The video output path through whole conversions of generated clips: scaling to another
// encoder, crop and pad, frame-rate changes that drop pictures, filter chains and
// deinterlacing. Each result is decoded again and its pictures read back (size, picture
// number of the generator's pattern, colour of a border pixel).
#include "engine/core/options/PadColour.h"
#include "tests/engine/core/TranscodeTestSupport.h"

#include <filesystem>
#include <vector>

namespace kestrova::testing {
namespace {

struct TDecodedPicture {
    int Width = 0, Height = 0;
    int Number = -1;                            // the generator's picture number, -1 when unreadable
    int MirroredNumber = -1;                    // the same, read from the picture flipped left to right
    int CornerY = 0, CornerU = 0, CornerV = 0;  // colour at the top left pixel
};

int ReadMirrored(const AVFrame& frame) {
    std::vector<uint8_t> mirrored(static_cast<size_t>(frame.width) * frame.height);
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x)
            mirrored[static_cast<size_t>(y) * frame.width + x] =
                    frame.data[0][static_cast<ptrdiff_t>(y) * frame.linesize[0] + frame.width - 1 - x];
    return testmedia::FrameNumberFromPicture(mirrored.data(), frame.width, frame.width, frame.height);
}

TDecodedPicture Describe(const AVFrame& frame) {
    TDecodedPicture picture;
    picture.Width = frame.width;
    picture.Height = frame.height;
    picture.Number =
            testmedia::FrameNumberFromPicture(frame.data[0], frame.linesize[0], frame.width, frame.height);
    picture.MirroredNumber = ReadMirrored(frame);
    picture.CornerY = frame.data[0][frame.linesize[0] + 1];
    if (frame.data[1] && frame.data[2]) {
        picture.CornerU = frame.data[1][frame.linesize[1] + 1];
        picture.CornerV = frame.data[2][frame.linesize[2] + 1];
    }
    return picture;
}

// Every picture of the file's first video stream, decoded; empty when it cannot be read.
std::vector<TDecodedPicture> DecodePictures(const std::string& path, AVCodecID* codec = nullptr) {
    std::vector<TDecodedPicture> pictures;
    AVFormatContext* raw = nullptr;
    if (ff::avformat_open_input(&raw, path.c_str(), nullptr, nullptr) < 0) return pictures;
    InputFormatPtr input(raw);
    if (ff::avformat_find_stream_info(raw, nullptr) < 0) return pictures;
    int index = -1;
    for (unsigned i = 0; i < raw->nb_streams && index < 0; ++i)
        if (raw->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_VIDEO) index = static_cast<int>(i);
    if (index < 0) return pictures;
    const AVCodecParameters& parameters = *raw->streams[index]->codecpar;
    if (codec) *codec = parameters.codec_id;
    CodecContextPtr decoder(ff::avcodec_alloc_context3(ff::avcodec_find_decoder(parameters.codec_id)));
    if (!decoder || ff::avcodec_parameters_to_context(decoder.get(), &parameters) < 0 ||
        ff::avcodec_open2(decoder.get(), ff::avcodec_find_decoder(parameters.codec_id), nullptr) < 0)
        return pictures;
    PacketPtr packet(ff::av_packet_alloc());
    FramePtr frame(ff::av_frame_alloc());
    auto drain = [&] {
        while (ff::avcodec_receive_frame(decoder.get(), frame.get()) >= 0) {
            pictures.push_back(Describe(*frame));
            ff::av_frame_unref(frame.get());
        }
    };
    while (ff::av_read_frame(raw, packet.get()) >= 0) {
        if (packet->stream_index == index && ff::avcodec_send_packet(decoder.get(), packet.get()) >= 0)
            drain();
        ff::av_packet_unref(packet.get());
    }
    ff::avcodec_send_packet(decoder.get(), nullptr);
    drain();
    return pictures;
}

// The picture numbers run 0, 1, 2, ... without a gap.
void ExpectEveryPictureInOrder(const std::vector<TDecodedPicture>& pictures) {
    for (size_t i = 0; i < pictures.size(); ++i)
        ASSERT_EQ(pictures[i].Number, static_cast<int>(i)) << "picture " << i;
}

using VideoOutTest = RunTest;

TEST_F(VideoOutTest, FlvReencodedToScaledH264KeepsEveryPicture) {
    const std::string input = RunClip("flv", 2.0, true, false);
    const std::string output = TestFolder() + "/scaled.mp4";
    Prepare(input, {{"vcodec", "libx264"}, {"s", "96x72"}}, output);
    ASSERT_TRUE(Run()) << job.RunState().FailureText;

    AVCodecID codec = AV_CODEC_ID_NONE;
    const std::vector<TDecodedPicture> pictures = DecodePictures(output, &codec);
    EXPECT_EQ(codec, AV_CODEC_ID_H264);
    ASSERT_EQ(pictures.size(), DecodePictures(input).size());
    for (const TDecodedPicture& picture : pictures) {
        ASSERT_EQ(picture.Width, 96);
        ASSERT_EQ(picture.Height, 72);
    }
    ExpectEveryPictureInOrder(pictures);
}

TEST_F(VideoOutTest, CropAndPadGiveTheCroppedSizePlusPadsInThePadColour) {
    const std::string input = RunClip("flv", 1.0, true, false);
    const std::string output = TestFolder() + "/framed.mp4";
    Prepare(input,
            {{"vcodec", "libx264"},
             {"croptop", "8"},
             {"cropbottom", "8"},
             {"cropleft", "16"},
             {"cropright", "16"},
             {"padtop", "16"},
             {"padbottom", "16"},
             {"padleft", "16"},
             {"padright", "16"},
             {"padcolor", "255"}},
            output);
    ASSERT_TRUE(Run()) << job.RunState().FailureText;

    const std::vector<TDecodedPicture> pictures = DecodePictures(output);
    ASSERT_EQ(pictures.size(), DecodePictures(input).size());
    const TYuvColour red = RgbToPadYuv(0xFF);
    for (const TDecodedPicture& picture : pictures) {
        ASSERT_EQ(picture.Width, 128 + 32);
        ASSERT_EQ(picture.Height, 104 + 32);
        ASSERT_NEAR(picture.CornerY, red[0], 6);
        ASSERT_NEAR(picture.CornerU, red[1], 6);
        ASSERT_NEAR(picture.CornerV, red[2], 6);
    }
}

TEST_F(VideoOutTest, LowerFrameRateDropsPicturesAndKeepsTheRestInOrder) {
    const std::string input = RunClip("flv", 2.0, true, false);
    const std::string output = TestFolder() + "/twelve.mp4";
    Prepare(input, {{"vcodec", "libx264"}, {"r", "12"}}, output);
    ASSERT_TRUE(Run()) << job.RunState().FailureText;

    const std::vector<TDecodedPicture> pictures = DecodePictures(output);
    const size_t source = DecodePictures(input).size();
    EXPECT_NEAR(static_cast<double>(pictures.size()), static_cast<double>(source) * 12 / 25, 3);
    EXPECT_EQ(job.Statistics().DropFrames, static_cast<int>(source - pictures.size()));
    for (size_t i = 1; i < pictures.size(); ++i) {
        ASSERT_GT(pictures[i].Number, pictures[i - 1].Number) << "picture " << i;
        // About every second picture is kept: no gap of three or more.
        ASSERT_LE(pictures[i].Number - pictures[i - 1].Number, 3) << "picture " << i;
    }
}

TEST_F(VideoOutTest, HigherFrameRateRepeatsPictures) {
    const std::string input = RunClip("flv", 2.0, true, false);
    const std::string output = TestFolder() + "/thirty.mp4";
    Prepare(input, {{"vcodec", "libx264"}, {"r", "30"}}, output);
    ASSERT_TRUE(Run()) << job.RunState().FailureText;
    const std::vector<TDecodedPicture> pictures = DecodePictures(output);
    const size_t source = DecodePictures(input).size();
    EXPECT_NEAR(static_cast<double>(pictures.size()), static_cast<double>(source) * 30 / 25, 3);
    EXPECT_EQ(job.Statistics().DupFrames, static_cast<int>(pictures.size() - source));
}

TEST_F(VideoOutTest, FilterChainScalesAndFlipsEveryPicture) {
    const std::string input = RunClip("flv", 1.0, true, false);
    const std::string output = TestFolder() + "/filtered.mp4";
    Prepare(input, {{"vcodec", "libx264"}, {"vfilters", "scale=80:60,hflip"}}, output);
    ASSERT_TRUE(Run()) << job.RunState().FailureText;

    const std::vector<TDecodedPicture> pictures = DecodePictures(output);
    ASSERT_EQ(pictures.size(), DecodePictures(input).size());
    for (size_t i = 0; i < pictures.size(); ++i) {
        ASSERT_EQ(pictures[i].Width, 80);
        ASSERT_EQ(pictures[i].Height, 60);
        ASSERT_EQ(pictures[i].MirroredNumber, static_cast<int>(i)) << "picture " << i;
    }
}

// A filter that holds pictures until the end of its input gives them up when the input ends.
TEST_F(VideoOutTest, PicturesHeldByTheChainAreEncodedAtTheEnd) {
    const std::string input = RunClip("flv", 1.0, true, false);
    const std::string output = TestFolder() + "/padded_in_time.mp4";
    Prepare(input, {{"vcodec", "libx264"}, {"vfilters", "tpad=stop=5:stop_mode=clone"}}, output);
    ASSERT_TRUE(Run()) << job.RunState().FailureText;
    const std::vector<TDecodedPicture> pictures = DecodePictures(output);
    const size_t source = DecodePictures(input).size();
    ASSERT_EQ(pictures.size(), source + 5);
    EXPECT_EQ(pictures.back().Number, static_cast<int>(source) - 1);
}

// The frame size option scales before the chain runs; the chain then sees the encoder's size.
TEST_F(VideoOutTest, FrameSizeWithAFilterChainScalesFirst) {
    const std::string input = RunClip("flv", 1.0, true, false);
    const std::string output = TestFolder() + "/sized.mp4";
    Prepare(input, {{"vcodec", "libx264"}, {"s", "96x72"}, {"vfilters", "hflip"}}, output);
    ASSERT_TRUE(Run()) << job.RunState().FailureText;
    const std::vector<TDecodedPicture> pictures = DecodePictures(output);
    ASSERT_EQ(pictures.size(), DecodePictures(input).size());
    for (size_t i = 0; i < pictures.size(); ++i) {
        ASSERT_EQ(pictures[i].Width, 96);
        ASSERT_EQ(pictures[i].Height, 72);
        ASSERT_EQ(pictures[i].MirroredNumber, static_cast<int>(i)) << "picture " << i;
    }
}

// The frame suite's hook module fills the luma plane with its argument.
TEST_F(VideoOutTest, VideoHookChangesEveryEncodedPicture) {
    const std::string module =
            testmedia::BuildDir() + "/tests/engine/frame/hooks/kestrova_test_hook_complete.so";
    if (!std::filesystem::exists(module)) GTEST_SKIP() << "test hook module not built";
    const std::string input = RunClip("flv", 1.0, true, false);
    const std::string output = TestFolder() + "/hooked.mp4";
    Prepare(input, {{"vcodec", "libx264"}, {"vhook", module + "|200"}}, output);
    ASSERT_TRUE(Run()) << job.RunState().FailureText;
    const std::vector<TDecodedPicture> pictures = DecodePictures(output);
    ASSERT_EQ(pictures.size(), DecodePictures(input).size());
    for (const TDecodedPicture& picture : pictures) ASSERT_NEAR(picture.CornerY, 200, 3);
}

TEST_F(VideoOutTest, DeinterlacedConversionKeepsEveryPicture) {
    const std::string input = RunClip("flv", 1.0, true, false);
    const std::string output = TestFolder() + "/deinterlaced.mp4";
    Prepare(input, {{"vcodec", "libx264"}, {"deinterlace", "1"}}, output);
    ASSERT_TRUE(Run()) << job.RunState().FailureText;
    const std::vector<TDecodedPicture> pictures = DecodePictures(output);
    ASSERT_EQ(pictures.size(), DecodePictures(input).size());
    ExpectEveryPictureInOrder(pictures);
}

}  // namespace
}  // namespace kestrova::testing
