#include "engine/frame/Previewer.h"

#include "engine/frame/MainThread.h"

#include <climits>
#include <cstdio>
#include <mutex>
#include <utility>

namespace kestrova {

namespace {

std::mutex FactoryLock;
TPreviewWindowFactory& Factory() {
    static TPreviewWindowFactory factory;
    return factory;
}

}  // namespace

void SetPreviewWindowFactory(TPreviewWindowFactory factory) {
    std::lock_guard lock(FactoryLock);
    Factory() = std::move(factory);
}

std::string PreviewTimeText(int64_t microseconds) {
    if (microseconds == INT64_MIN) return "N/A";
    const int64_t seconds = microseconds / 1000000;
    const long long hours = seconds / 60 / 60;
    const int minutes = static_cast<int>((seconds / 60) % 60);
    const int secs = static_cast<int>(seconds % 60);
    const int milliseconds = static_cast<int>((microseconds % 1000000) * 1000 / 1000000);
    char text[48];
    std::snprintf(text, sizeof text, "%.2lld:%.2d:%.2d.%.3d", hours, minutes, secs, milliseconds);
    return text;
}

TPreviewer::~TPreviewer() {
    if (!FWindow) return;
    try {
        MainThread::RunSync([this] { FWindow.reset(); });
    } catch (...) {
        // A window that fails to close must not take the job down with it.
    }
}

bool TPreviewer::ShowFrame(const TEngineBitmap& bitmap, int64_t frameNumber, int64_t pts) {
    if (ClosedByUser()) return false;
    FBitmap = &bitmap;
    FFrameNumber = frameNumber;
    FPts = pts;
    MainThread::RunSync([this] { Paint(); });
    return !ClosedByUser();
}

void TPreviewer::Paint() {
    if (ClosedByUser()) return;
    if (!FWindow) {
        TPreviewWindowFactory factory;
        {
            std::lock_guard lock(FactoryLock);
            factory = Factory();
        }
        if (!factory) return;
        FWindow = factory([closed = FClosedByUser] { *closed = true; });
        if (!FWindow) return;
    }
    FWindow->Paint(*FBitmap, PreviewTimeText(FPts));
}

}  // namespace kestrova
