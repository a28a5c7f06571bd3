// Option lines a module refuses: the conversion stops before it starts, with the engine's
// messages naming the module and the whole line.
#include "HookRun.h"
#include "TestMedia.h"

#include <gtest/gtest.h>

namespace kestrova::vhooktest {
namespace {

struct TRefusedLine {
    const char* Name;
    const char* Module;
    std::vector<std::string> Arguments;  // "@name" stands for the file in the program's vhook/
};

const TRefusedLine kRefusedLines[] = {
        {"WatermarkWithoutPicture", "watermark.so", {"-m", "1"}},
        {"WatermarkPictureMissing", "watermark.so", {"-f", "@missing.bmp"}},
        {"WatermarkPictureNotABitmap", "watermark.so", {"-f", "@watermark.so"}},
        {"WatermarkModeOutOfRange", "watermark.so", {"-f", "@watermark.bmp", "-m", "2"}},
        {"WatermarkUnknownOption", "watermark.so", {"-f", "@watermark.bmp", "-q", "1"}},
        {"WatermarkOptionWithoutValue", "watermark.so", {"-m", "0", "-f"}},
        {"DemoNothingToDraw", "VantelHook.so", {"-ix", "5", "-iy", "5"}},
        {"DemoColourNotHexadecimal", "VantelHook.so", {"-t", "VADOR", "-fc", "FFFFFG"}},
        {"DemoUnknownStyleLetter", "VantelHook.so", {"-t", "VADOR", "-fst", "BQ"}},
        {"DemoPositionNotANumber", "VantelHook.so", {"-i", "@VantelHook.bmp", "-ix", "ten"}},
        {"DemoFontSizeZero", "VantelHook.so", {"-t", "VADOR", "-fs", "0"}},
        {"ImageTextNothingToDraw", "imlib2.so", {"-x", "10", "-y", "10"}},
        {"ImageTextUnfinishedExpression", "imlib2.so", {"-t", "VADOR", "-x", "W-"}},
        {"ImageTextUnknownVariable", "imlib2.so", {"-t", "VADOR", "-y", "Z*2"}},
        {"ImageTextUnknownFunction", "imlib2.so", {"-t", "VADOR", "-x", "spin(N)"}},
        {"ImageTextFontWithoutSize", "imlib2.so", {"-t", "VADOR", "-F", "Tahoma.ttf"}},
        {"ImageTextRunawayNesting",
         "imlib2.so",
         {"-t", "VADOR", "-x", std::string(100, '(') + "1" + std::string(100, ')')}},
};

class HookRefusalTest : public ::testing::TestWithParam<TRefusedLine> {};

TEST_P(HookRefusalTest, StopsTheConversionWithTheEnginesMessages) {
    const TRefusedLine& test = GetParam();
    std::vector<std::string> pieces = {VhookFile(test.Module)};
    for (const std::string& argument : test.Arguments)
        pieces.push_back(argument.starts_with('@') ? VhookFile(argument.substr(1)) : argument);
    const std::string line = HookLine(pieces);
    const std::string output = testmedia::TempDir(std::string("refused-") + test.Name) + "/never.nut";

    const testmedia::ProcessResult run = ConvertWithHooks(StagedSource({}), {line}, output);
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.output.find("Failed to Configure " + pieces.front()), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("Failed to add video hook function: " + line), std::string::npos) << run.output;
}

INSTANTIATE_TEST_SUITE_P(Lines, HookRefusalTest, ::testing::ValuesIn(kRefusedLines),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace kestrova::vhooktest
