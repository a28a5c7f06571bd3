// Loading and binding the media libraries at run time.
#include "frame/FFmpegLoader.h"
#include "frame/LibBindings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace kestrova;

namespace {

TFFmpegLoader& Loader() { return TFFmpegLoader::Instance(); }

// A fresh empty folder under the test's temporary directory.
fs::path MakeFolder(const std::string& name)
{
    fs::path folder = fs::temp_directory_path() / ("kestrova_loader_" + std::to_string(::getpid())) / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

// Where the system keeps a library: the path the dynamic loader resolved for a system load.
fs::path SystemLibraryPath(TLibraryId id)
{
    for (const char* dir : {"/usr/lib/x86_64-linux-gnu", "/lib/x86_64-linux-gnu", "/usr/lib"}) {
        fs::path candidate = fs::path(dir) / LibraryFileName(id);
        if (fs::exists(candidate))
            return candidate;
    }
    return {};
}

// A folder with links to the system's copies of every required media library.
fs::path MakeLinkedFolder(const std::string& name)
{
    fs::path folder = MakeFolder(name);
    for (TLibraryId id : {libAVUtil, libSWResample, libSWScale, libAVCodec, libAVFormat, libAVFilter})
        fs::create_symlink(SystemLibraryPath(id), folder / LibraryFileName(id));
    return folder;
}

class LoaderTest : public ::testing::Test {
protected:
    void TearDown() override { ASSERT_TRUE(LoadMediaLibraries()) << Loader().LastError(); }
};

} // namespace

TEST(LibraryTable, LinuxFileNames)
{
    EXPECT_EQ(LibraryFileName(libAVCodec), "libavcodec.so.59");
    EXPECT_EQ(LibraryFileName(libAVFormat), "libavformat.so.59");
    EXPECT_EQ(LibraryFileName(libAVUtil), "libavutil.so.57");
    EXPECT_EQ(LibraryFileName(libAVFilter), "libavfilter.so.8");
    EXPECT_EQ(LibraryFileName(libSWScale), "libswscale.so.6");
    EXPECT_EQ(LibraryFileName(libSWResample), "libswresample.so.4");
    EXPECT_EQ(LibraryFileName(libMyUtil), "libc.so.6");
}

TEST(LibraryTable, RequiredSetHasSwresampleButNoDeviceOrSdl)
{
    const TLibrarySet set = RequiredLibraries();
    EXPECT_EQ(set.count(), 7u);
    EXPECT_TRUE(set.test(libSWResample));
    EXPECT_TRUE(set.test(libMyUtil));
    EXPECT_FALSE(set.test(libAVDevice));
    EXPECT_FALSE(set.test(libSDL));
}

TEST_F(LoaderTest, EmptyFolderLoadsFromSystemAndBindsEveryPointer)
{
    ASSERT_TRUE(LoadMediaLibraries()) << Loader().LastError();
    EXPECT_TRUE(Loader().AllLoaded(RequiredLibraries()));
    EXPECT_EQ(Loader().ModulePath(libAVCodec), "libavcodec.so.59");
#define KESTROVA_ENTRY(name) EXPECT_NE(ff::name, nullptr) << #name;
#define KESTROVA_MYUTIL(name, symbol) EXPECT_NE(ff::name, nullptr) << #name;
#include "frame/bindings/avutil.inc"
#include "frame/bindings/swresample.inc"
#include "frame/bindings/swscale.inc"
#include "frame/bindings/avcodec.inc"
#include "frame/bindings/avformat.inc"
#include "frame/bindings/avfilter.inc"
#include "frame/bindings/myutil.inc"
#undef KESTROVA_ENTRY
#undef KESTROVA_MYUTIL
    // The pointers reach the real libraries.
    EXPECT_EQ(ff::avcodec_find_decoder_by_name("h264")->id, AV_CODEC_ID_H264);
    char text[32];
    ff::my_snprintf(text, sizeof text, "%d-%s", 42, "x");
    EXPECT_STREQ(text, "42-x");
}
