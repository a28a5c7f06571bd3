// Loading and binding the media libraries at run time.
#include "engine/frame/FFmpegLoader.h"
#include "engine/frame/LibBindings.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>

namespace fs = std::filesystem;
using namespace kestrova;

namespace {

TFFmpegLoader& Loader() {
    return TFFmpegLoader::Instance();
}

// A fresh empty folder under the test's temporary directory.
fs::path MakeFolder(const std::string& name) {
    fs::path folder = fs::temp_directory_path() / ("kestrova_loader_" + std::to_string(::getpid())) / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

// Where the system keeps a library: the path the dynamic loader resolved for a system load.
fs::path SystemLibraryPath(TLibraryId id) {
    for (const char* dir : {"/usr/lib/x86_64-linux-gnu", "/lib/x86_64-linux-gnu", "/usr/lib"}) {
        fs::path candidate = fs::path(dir) / LibraryFileName(id);
        if (fs::exists(candidate)) return candidate;
    }
    return {};
}

// A folder with links to the system's copies of every required media library.
fs::path MakeLinkedFolder(const std::string& name) {
    fs::path folder = MakeFolder(name);
    for (TLibraryId id : {libAVUtil, libSWResample, libSWScale, libAVCodec, libAVFormat, libAVFilter})
        fs::create_symlink(SystemLibraryPath(id), folder / LibraryFileName(id));
    return folder;
}

// Every test starts and ends with the system's libraries loaded by plain name, whatever folder
// an earlier test loaded them from.
void ReloadFromSystem() {
    Loader().UnloadSet(RequiredLibraries());
    ASSERT_TRUE(LoadMediaLibraries()) << Loader().LastError();
}

class LoaderTest : public ::testing::Test {
protected:
    void SetUp() override { ReloadFromSystem(); }
    void TearDown() override { ReloadFromSystem(); }
};

}  // namespace

TEST(LibraryTable, RequiredSetHasSwresampleButNoDeviceOrSdl) {
    const TLibrarySet set = RequiredLibraries();
    EXPECT_EQ(set.count(), 7u);
    EXPECT_TRUE(set.test(libSWResample));
    EXPECT_TRUE(set.test(libMyUtil));
    EXPECT_FALSE(set.test(libAVDevice));
    EXPECT_FALSE(set.test(libSDL));
}

TEST_F(LoaderTest, EmptyFolderLoadsFromSystemAndBindsEveryPointer) {
    ASSERT_TRUE(LoadMediaLibraries()) << Loader().LastError();
    EXPECT_TRUE(Loader().AllLoaded(RequiredLibraries()));
    EXPECT_EQ(Loader().ModulePath(libAVCodec), "libavcodec.so.59");
#define KESTROVA_ENTRY(name) EXPECT_NE(ff::name, nullptr) << #name;
#define KESTROVA_MYUTIL(name, symbol) EXPECT_NE(ff::name, nullptr) << #name;
// The lists in the libraries' loading order.
// clang-format off
#include "engine/frame/bindings/avutil.inc"
#include "engine/frame/bindings/swresample.inc"
#include "engine/frame/bindings/swscale.inc"
#include "engine/frame/bindings/avcodec.inc"
#include "engine/frame/bindings/avformat.inc"
#include "engine/frame/bindings/avfilter.inc"
#include "engine/frame/bindings/myutil.inc"
// clang-format on
#undef KESTROVA_ENTRY
#undef KESTROVA_MYUTIL
    // The pointers reach the real libraries.
    EXPECT_EQ(ff::avcodec_find_decoder_by_name("h264")->id, AV_CODEC_ID_H264);
    char text[32];
    ff::my_snprintf(text, sizeof text, "%d-%s", 42, "x");
    EXPECT_STREQ(text, "42-x");
}

TEST_F(LoaderTest, FolderWithoutTrailingSeparatorLoadsEveryLibraryFromIt) {
    const fs::path folder = MakeLinkedFolder("linked");
    std::string name = folder.string();
    ASSERT_NE(name.back(), '/');
    Loader().UnloadSet(RequiredLibraries());
    ASSERT_TRUE(LoadMediaLibraries(name)) << Loader().LastError();
    for (TLibraryId id : {libAVUtil, libSWResample, libSWScale, libAVCodec, libAVFormat, libAVFilter})
        EXPECT_EQ(Loader().ModulePath(id), name + "/" + LibraryFileName(id));
    // The C runtime never comes from the library folder.
    EXPECT_EQ(Loader().ModulePath(libMyUtil), "libc.so.6");
    EXPECT_NE(ff::avformat_open_input, nullptr);
}

TEST_F(LoaderTest, FolderWithTrailingSeparatorGetsNoSecondOne) {
    const fs::path folder = MakeLinkedFolder("trailing");
    Loader().UnloadSet(RequiredLibraries());
    ASSERT_TRUE(LoadMediaLibraries(folder.string() + "/")) << Loader().LastError();
    EXPECT_EQ(Loader().ModulePath(libAVCodec), folder.string() + "/libavcodec.so.59");
}

TEST_F(LoaderTest, LibraryMissingFromTheFolderComesFromTheSystem) {
    const fs::path folder = MakeLinkedFolder("without_swscale");
    fs::remove(folder / "libswscale.so.6");
    Loader().UnloadSet(RequiredLibraries());
    ASSERT_TRUE(LoadMediaLibraries(folder.string())) << Loader().LastError();
    EXPECT_EQ(Loader().ModulePath(libSWScale), "libswscale.so.6");
    EXPECT_EQ(Loader().ModulePath(libAVCodec), folder.string() + "/libavcodec.so.59");
}

TEST_F(LoaderTest, BrokenLibraryFailsTheSetAndUnloadsEveryMember) {
    const fs::path folder = MakeLinkedFolder("broken_swscale");
    fs::remove(folder / "libswscale.so.6");
    std::ofstream(folder / "libswscale.so.6") << "not a shared object";
    Loader().UnloadSet(RequiredLibraries());

    EXPECT_FALSE(LoadMediaLibraries(folder.string()));
    const std::string expected = "Load library " + folder.string() + "/libswscale.so.6 error: ";
    EXPECT_EQ(Loader().LastError().rfind(expected, 0), 0u) << Loader().LastError();
    EXPECT_GT(Loader().LastError().size(), expected.size());  // the system's reason follows
    for (int id = 0; id < LibraryCount; ++id)
        EXPECT_FALSE(Loader().IsLoaded(static_cast<TLibraryId>(id))) << LibraryFileName(TLibraryId(id));
    EXPECT_FALSE(Loader().AllLoaded(RequiredLibraries()));
    // Those loaded before the failure have no pointers left.
    EXPECT_EQ(ff::av_malloc, nullptr);
    EXPECT_EQ(ff::swr_convert, nullptr);
    EXPECT_EQ(ff::my_fopen, nullptr);
}

TEST_F(LoaderTest, LibraryOfAnotherKindFailsOnItsFirstMissingEntryPoint) {
    const fs::path folder = MakeLinkedFolder("wrong_swscale");
    fs::remove(folder / "libswscale.so.6");
    fs::create_symlink(SystemLibraryPath(libSWResample), folder / "libswscale.so.6");
    Loader().UnloadSet(RequiredLibraries());

    EXPECT_FALSE(LoadMediaLibraries(folder.string()));
    EXPECT_EQ(Loader().LastError(),
              "Load function sws_getContext@libswscale.so.6 error: undefined symbol: sws_getContext");
    EXPECT_FALSE(Loader().IsLoaded(libSWScale));
    EXPECT_FALSE(Loader().IsLoaded(libAVUtil));
    EXPECT_EQ(ff::sws_getContext, nullptr);
    EXPECT_EQ(ff::swr_alloc, nullptr);
}

TEST_F(LoaderTest, LoadingTwiceBindsNothingAgain) {
    ASSERT_TRUE(LoadMediaLibraries());
    const auto openBefore = ff::avcodec_open2;
    // A second request, even naming a folder now, keeps what is loaded.
    const fs::path folder = MakeLinkedFolder("second");
    ASSERT_TRUE(LoadMediaLibraries(folder.string())) << Loader().LastError();
    EXPECT_EQ(Loader().ModulePath(libAVCodec), "libavcodec.so.59");
    EXPECT_EQ(ff::avcodec_open2, openBefore);
}

TEST_F(LoaderTest, UnloadingOneLibraryEmptiesOnlyItsPointers) {
    ASSERT_TRUE(LoadMediaLibraries());
    Loader().Unload(libSWScale);
    EXPECT_FALSE(Loader().IsLoaded(libSWScale));
    EXPECT_FALSE(Loader().AllLoaded(RequiredLibraries()));
    EXPECT_EQ(ff::sws_scale, nullptr);
    EXPECT_NE(ff::avcodec_open2, nullptr);
    EXPECT_TRUE(Loader().Load(libSWScale));
    EXPECT_NE(ff::sws_scale, nullptr);
    EXPECT_TRUE(Loader().AllLoaded(RequiredLibraries()));
}

TEST_F(LoaderTest, EmptySetIsAProgrammingError) {
    EXPECT_THROW(Loader().LoadSet(TLibrarySet()), std::logic_error);
}
