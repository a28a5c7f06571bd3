// The component's picture events over real runs on worker threads: OnCustomHook only for the
// task whose output asked for it, on that task's worker, until the handler stops it; and
// OnPreviewBitmap for every task on the main thread while PreviewBitmap is set.
#include "tests/engine/front/EngineTestSupport.h"

#include <map>

namespace kestrova::testing {
namespace {

using HookAndPreviewEventsTest = EngineTest;

TEST_F(HookAndPreviewEventsTest, TheHookRunsForTheTaskThatAskedUntilItsHandlerStopsIt) {
    const std::string folder = TestFolder();
    const int hooked = engine.AddTask(SmallClip(1.0));
    TOutputOptions record;
    record.ExtOptions = "vcodec=mpeg4\nacodec=copy";
    record.CustomHook = true;
    ASSERT_TRUE(engine.SetOutputFile(hooked, folder + "/hooked.mkv", &record)) << engine.LastErrMsg();
    AddConversion(SmallClip(1.0), folder + "/plain.mkv", "vcodec=mpeg4\nacodec=copy");

    std::mutex lock;
    std::map<int, int> calls;  // per task index
    bool offMainThread = true;
    bool bitmapsOfThePictureSize = true;
    engine.OnCustomHook = [&](TCustomFFmpegEngine&, THookInfo* info) {
        std::lock_guard guard(lock);
        offMainThread &= !MainThread::IsMainThread();
        bitmapsOfThePictureSize &= info->Bitmap->Width() == 160 && info->Bitmap->Height() == 120;
        if (++calls[info->TaskIndex] == 3) info->StopHook = true;
    };
    engine.StartTask(2);
    ASSERT_TRUE(WaitForFinalNotice());
    EXPECT_EQ(calls, (std::map<int, int>{{hooked, 3}}));
    EXPECT_TRUE(offMainThread);
    EXPECT_TRUE(bitmapsOfThePictureSize);
    for (const TNotice& notice : Notices()) EXPECT_FALSE(notice.Info.Exception) << notice.Info.ExceptionMsg;
}

TEST_F(HookAndPreviewEventsTest, PreviewBitmapsOfEveryTaskComeOnTheMainThread) {
    const std::string folder = TestFolder();
    AddConversion(SmallClip(1.0), folder + "/first.mkv", "vcodec=mpeg4\nacodec=copy");
    AddConversion(SmallClip(1.0), folder + "/second.mkv", "vcodec=mpeg4\nacodec=copy");
    engine.SetPreviewBitmap(true);
    std::map<int, int> bitmaps;  // per task index; only the main thread writes
    bool onMainThread = true;
    engine.OnPreviewBitmap = [&](TCustomFFmpegEngine&, const TPreviewInfo& info) {
        onMainThread &= MainThread::IsMainThread();
        if (info.Bitmap->Width() == 160 && info.Bitmap->Height() == 120) ++bitmaps[info.TaskIndex];
    };
    engine.StartTask(2);
    ASSERT_TRUE(WaitForFinalNotice());
    EXPECT_TRUE(onMainThread);
    EXPECT_GE(bitmaps[0], 1);
    EXPECT_GE(bitmaps[1], 1);
    EXPECT_EQ(bitmaps.size(), 2u);
}

}  // namespace
}  // namespace kestrova::testing
