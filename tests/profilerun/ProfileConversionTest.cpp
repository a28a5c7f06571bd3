// Every built-in profile converts: a generated clip through the profile's defaults, the option
// building and the engine component, the output read back with the probe. A second case tries
// every candidate frame size, frame rate, sample rate and channel count of a sample of
// profiles, one at a time, so that a candidate no encoder or muxer accepts is found.
#include "tests/profilerun/ProfileConversions.h"

#include "profiles/store/ProfileDocument.h"
#include "profiles/store/StorePaths.h"
#include "tests/support/TestMedia.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>

namespace kestrova::test {
namespace {

constexpr double kClipSeconds = 3.0;
constexpr double kCandidateClipSeconds = 1.0;
constexpr int kClipWidth = 160;
constexpr int kClipHeight = 120;

TProfileDocument LoadedProfile(const std::string& profileFile) {
    TProfileDocument document;
    document.Load(TStorePaths(ProgramFolder()).ProfilePath(QString::fromStdString(profileFile)));
    return document;
}

// Width x height of a frame-size item ("320x240 - qvga"); 0 for "Auto" and other texts.
int AreaOf(const QString& item) {
    int width = 0, height = 0;
    if (std::sscanf(item.toStdString().c_str(), "%dx%d", &width, &height) != 2) return 0;
    return width * height;
}

// A profile that fixes its frame size converts at its smallest candidate instead of its
// default, which keeps the HD profiles' run short; "Auto" keeps the clip's own size.
TParameterOverrides SmallestFixedSize(const TProfileDocument& document) {
    const TParameterList sizes = ReadParameterList(document, QStringLiteral("videosize"));
    if (sizes.Selected < 0 || AreaOf(sizes.Items[sizes.Selected]) == 0) return {};
    QString smallest = sizes.Items[sizes.Selected];
    for (const QString& item : sizes.Items)
        if (AreaOf(item) > 0 && AreaOf(item) < AreaOf(smallest)) smallest = item;
    return {{QStringLiteral("videosize"), smallest}};
}

// Every profile converted with its defaults, once for the whole suite: the conversions share
// the component's two threads.
const std::map<std::string, TConversion>& DefaultConversions() {
    static const std::map<std::string, TConversion> results = [] {
        const TSourceInfo source = ClipSource(kClipSeconds, kClipWidth, kClipHeight);
        const QString folder = QString::fromStdString(testmedia::TempDir("profilerun-defaults"));
        std::vector<TConversion> conversions;
        for (const std::string& file : BuiltInProfileFiles())
            conversions.push_back(Conversion(
                    file, ProfileChoicesFor(file, SmallestFixedSize(LoadedProfile(file)), source, folder)));
        ConvertAll(conversions);
        std::map<std::string, TConversion> byFile;
        for (TConversion& conversion : conversions) byFile.emplace(conversion.Name, std::move(conversion));
        return byFile;
    }();
    return results;
}

std::string TestName(const ::testing::TestParamInfo<std::string>& info) {
    std::string name = info.param;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

class ProfileConversionTest : public ::testing::TestWithParam<std::string> {};

TEST_P(ProfileConversionTest, DefaultsConvertIntoWhatTheProfileAsks) {
    const TConversion& conversion = DefaultConversions().at(GetParam());
    ASSERT_TRUE(conversion.Finished) << conversion.Error;
    EXPECT_EQ(OutputMismatch(conversion, kClipSeconds), "");
}

INSTANTIATE_TEST_SUITE_P(BuiltIn, ProfileConversionTest, ::testing::ValuesIn(BuiltInProfileFiles()),
                         TestName);

// Profiles whose lists hold the candidates most likely to be refused: sizes for H.263 and
// RealVideo, the rates of the 3GPP muxers, Dolby Digital's rates and channel counts, a disc
// target's norms, PSP's fixed pictures, any size for Sorenson video.
const std::vector<std::string> kCandidateSample = {"mobilephone_3gps.xml",
                                                   "mobilephone_3g2m.xml",
                                                   "rm.xml",
                                                   "dvd_ntsc.xml",
                                                   "ac3.xml",
                                                   "psp_h264.xml",
                                                   "flv.xml"};
const char* const kCandidateParameters[] = {"videosize", "videoframerate", "audiosamplerate", "audiochannel"};

class ProfileCandidatesTest : public ::testing::TestWithParam<std::string> {};

TEST_P(ProfileCandidatesTest, EveryCandidateConverts) {
    const TSourceInfo source = ClipSource(kCandidateClipSeconds, kClipWidth, kClipHeight);
    const QString folder =
            QString::fromStdString(testmedia::TempDir("profilerun-" + TestName({GetParam(), 0})));
    const TProfileDocument document = LoadedProfile(GetParam());
    std::vector<TConversion> conversions;
    for (const char* parameter : kCandidateParameters) {
        for (const QString& item : ReadParameterList(document, QLatin1String(parameter)).Items) {
            const QString name = QStringLiteral("%1 = %2").arg(QLatin1String(parameter), item);
            conversions.push_back(Conversion(
                    name.toStdString(),
                    ProfileChoicesFor(GetParam(), {{QLatin1String(parameter), item}}, source, folder)));
        }
    }
    ConvertAll(conversions);
    for (const TConversion& conversion : conversions) {
        SCOPED_TRACE(conversion.Name);
        ASSERT_TRUE(conversion.Finished) << conversion.Error;
        EXPECT_EQ(OutputMismatch(conversion, kCandidateClipSeconds), "");
    }
}

INSTANTIATE_TEST_SUITE_P(Sample, ProfileCandidatesTest, ::testing::ValuesIn(kCandidateSample), TestName);

}  // namespace
}  // namespace kestrova::test
