#pragma once
// The preview of a running job: the job hands each picture it wants shown (as a bitmap of its
// picture converter) to its TPreviewer from its worker; the window work happens on the main
// thread, in a window the host supplies through SetPreviewWindowFactory. Without a factory
// (command-line front, tests) frames are accepted and shown nowhere.
#include "engine/frame/EngineBitmap.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace kestrova {

// One preview window of the host. Every call comes on the main thread.
class TPreviewWindow {
public:
    virtual ~TPreviewWindow() = default;  // closes the window
    // Shows the window on the first call (client size that of the first bitmap, later frames
    // are drawn without resizing), sets its caption and draws the bitmap at the top-left.
    virtual void Paint(const TEngineBitmap& bitmap, const std::string& caption) = 0;
};

// Makes a window; the window calls `closedByUser` when the user closes it.
using TPreviewWindowFactory =
        std::function<std::unique_ptr<TPreviewWindow>(std::function<void()> closedByUser)>;
// Set by the host on its main thread before any job previews; an empty factory removes it.
void SetPreviewWindowFactory(TPreviewWindowFactory factory);

// "hh:mm:ss.mmm" of a time in microseconds (hours may take more digits), "N/A" for no time.
std::string PreviewTimeText(int64_t microseconds);

class TPreviewer {
public:
    TPreviewer() = default;
    ~TPreviewer();  // closes the window, on the main thread
    TPreviewer(const TPreviewer&) = delete;
    TPreviewer& operator=(const TPreviewer&) = delete;

    // From any thread: has the main thread draw the frame (the caller waits for it) unless the
    // user closed the window. False once the window has been closed by the user: the job then
    // stops previewing.
    bool ShowFrame(const TEngineBitmap& bitmap, int64_t frameNumber, int64_t pts);

    bool ClosedByUser() const { return FClosedByUser->load(); }
    int64_t FrameNumber() const { return FFrameNumber; }
    int64_t Pts() const { return FPts; }

private:
    void Paint();

    // Shared with the window's close notice, which may come after the previewer has gone.
    std::shared_ptr<std::atomic<bool>> FClosedByUser = std::make_shared<std::atomic<bool>>(false);
    const TEngineBitmap* FBitmap = nullptr;  // the job's, read only during the paint
    int64_t FFrameNumber = 0;
    int64_t FPts = 0;
    std::unique_ptr<TPreviewWindow> FWindow;
};

}  // namespace kestrova
