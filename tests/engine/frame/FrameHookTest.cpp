// The video hook list with real hook modules built beside the tests.
#include "engine/frame/FrameHook.h"
#include "engine/frame/FFmpegLoader.h"
#include "engine/frame/FFmpegLogger.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <mutex>
#include <vector>

using namespace kestrova;

namespace {

const std::string CompleteHook = KESTROVA_TEST_HOOK_COMPLETE;
const std::string HookWithoutProcess = KESTROVA_TEST_HOOK_NO_PROCESS;
const std::string HookWithoutConfigure = KESTROVA_TEST_HOOK_NO_CONFIGURE;

// A counter function exported by a test module; the module stays mapped (hook modules are
// never unloaded either), so the function stays valid after our handle is closed.
template <class Fn>
Fn ModuleFunction(const std::string& path, const char* name) {
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_NODELETE);
    auto fn = reinterpret_cast<Fn>(dlsym(module, name));
    dlclose(module);
    return fn;
}

int ReleasedCount(const std::string& path) {
    return ModuleFunction<int (*)()>(path, "ReleasedCount")();
}

// Collects the error lines the hook list logs, delivered on the logging thread.
class FrameHookTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(LoadMediaLibraries()) << TFFmpegLoader::Instance().LastError();
        TFFLogger& logger = TFFLogger::Instance();
        logger.TriggerEventInMainThread = false;
        logger.OnLog = [this](const void*, uint32_t, TLogLevel level, const std::string& line) {
            std::lock_guard lock(FLock);
            FLines.push_back({level, line});
        };
    }
    void TearDown() override {
        TFFLogger::Instance().OnLog = nullptr;
        TFFLogger::Instance().TriggerEventInMainThread = true;
    }
    std::vector<std::pair<TLogLevel, std::string>> Lines() {
        std::lock_guard lock(FLock);
        return FLines;
    }

    std::mutex FLock;
    std::vector<std::pair<TLogLevel, std::string>> FLines;
};

struct TTestPicture {
    static constexpr int Width = 6, Height = 3, Stride = 8;
    std::vector<uint8_t> Plane = std::vector<uint8_t>(Stride * Height, 0);
    TFrameHookPicture Record{{Plane.data(), nullptr, nullptr, nullptr}, {Stride, 0, 0, 0}};
};

}  // namespace

TEST_F(FrameHookTest, NoArgumentsIsRefused) {
    TFrameHookList hooks;
    EXPECT_EQ(hooks.Add({}), -2);
    EXPECT_TRUE(hooks.Empty());
}

TEST_F(FrameHookTest, MissingModuleLogsTheSystemReason) {
    TFrameHookList hooks;
    EXPECT_EQ(hooks.Add({"/nonexistent/kestrova_hook.so"}), -1);
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].first, llError);
    EXPECT_NE(lines[0].second.find("/nonexistent/kestrova_hook.so"), std::string::npos);
    EXPECT_NE(lines[0].second.find("No such file"), std::string::npos) << lines[0].second;
}

TEST_F(FrameHookTest, ModuleWithoutProcessIsRefused) {
    TFrameHookList hooks;
    EXPECT_EQ(hooks.Add({HookWithoutProcess}), -2);
    EXPECT_TRUE(hooks.Empty());
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].second, "Failed to find Process entrypoint in " + HookWithoutProcess);
}

TEST_F(FrameHookTest, ModuleWithoutConfigureTakesNoArguments) {
    TFrameHookList hooks;
    EXPECT_EQ(hooks.Add({HookWithoutConfigure, "5"}), -2);
    ASSERT_EQ(Lines().size(), 1u);
    EXPECT_EQ(Lines()[0].second, "Failed to find Configure entrypoint in " + HookWithoutConfigure);

    // With the path alone it runs, with no context of its own.
    ASSERT_EQ(hooks.Add({HookWithoutConfigure}), 0);
    TTestPicture picture;
    hooks.Process(picture.Record, AV_PIX_FMT_YUV420P, TTestPicture::Width, TTestPicture::Height, 3);
    EXPECT_EQ(picture.Plane[0], 7);
    const int before = ReleasedCount(HookWithoutConfigure);
    hooks.Release();
    EXPECT_EQ(ReleasedCount(HookWithoutConfigure), before + 1);
}

TEST_F(FrameHookTest, RefusedConfigurationIsLoggedAndItsContextReleased) {
    TFrameHookList hooks;
    const int before = ReleasedCount(CompleteHook);
    EXPECT_EQ(hooks.Add({CompleteHook, "fail"}), -22);
    EXPECT_TRUE(hooks.Empty());
    ASSERT_EQ(Lines().size(), 1u);
    EXPECT_EQ(Lines()[0].second, "Failed to Configure " + CompleteHook);
    EXPECT_EQ(ReleasedCount(CompleteHook), before + 1);  // no context leaked
}

TEST_F(FrameHookTest, HooksRunInOrderWithTheirOwnArgumentsAndAreReleased) {
    TFrameHookList hooks;
    ASSERT_EQ(hooks.Add({CompleteHook, "5"}), 0);
    ASSERT_EQ(hooks.Add({CompleteHook, "9"}), 0);  // the same module, a context of its own
    EXPECT_EQ(hooks.Count(), 2u);

    TTestPicture picture;
    hooks.Process(picture.Record, AV_PIX_FMT_GRAY8, TTestPicture::Width, TTestPicture::Height, 1234);
    // The later hook saw the earlier one's picture and wrote last; padding stays untouched.
    for (int y = 0; y < TTestPicture::Height; ++y) {
        EXPECT_EQ(picture.Plane[y * TTestPicture::Stride], 9);
        EXPECT_EQ(picture.Plane[y * TTestPicture::Stride + TTestPicture::Width - 1], 9);
        EXPECT_EQ(picture.Plane[y * TTestPicture::Stride + TTestPicture::Width], 0);
    }
    EXPECT_EQ(ModuleFunction<int64_t (*)()>(CompleteHook, "LastPts")(), 1234);
    EXPECT_EQ(ModuleFunction<int (*)()>(CompleteHook, "LastPixFmt")(), AV_PIX_FMT_GRAY8);

    const int before = ReleasedCount(CompleteHook);
    hooks.Release();
    EXPECT_EQ(ReleasedCount(CompleteHook), before + 2);
    EXPECT_TRUE(hooks.Empty());
    // Nothing runs after release.
    picture.Plane.assign(picture.Plane.size(), 0);
    hooks.Process(picture.Record, AV_PIX_FMT_GRAY8, TTestPicture::Width, TTestPicture::Height, 1);
    EXPECT_EQ(picture.Plane[0], 0);
}

TEST_F(FrameHookTest, DestroyingTheListReleasesItsHooks) {
    const int before = ReleasedCount(CompleteHook);
    {
        TFrameHookList hooks;
        ASSERT_EQ(hooks.Add({CompleteHook}), 0);
    }
    EXPECT_EQ(ReleasedCount(CompleteHook), before + 1);
}
