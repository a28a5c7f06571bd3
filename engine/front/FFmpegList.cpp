#include "engine/front/FFmpegList.h"

#include "engine/frame/Text.h"

#include <stdexcept>

namespace kestrova {

int TFFmpegList::Add(std::unique_ptr<TFFmpeg> task) {
    FItems.push_back(std::move(task));
    return Count() - 1;
}

void TFFmpegList::Clear() {
    // One at a time from the front, so that the list never holds a task that is gone.
    while (!FItems.empty()) Delete(0);
}

void TFFmpegList::Delete(int index) {
    Item(index);  // the bounds check
    std::unique_ptr<TFFmpeg> task = std::move(FItems[static_cast<std::size_t>(index)]);
    FItems.erase(FItems.begin() + index);
}

void TFFmpegList::Replace(int index, std::unique_ptr<TFFmpeg> task) {
    Item(index);  // the bounds check
    std::swap(FItems[static_cast<std::size_t>(index)], task);
}  // the old task goes here, once the list no longer holds it

TFFmpeg& TFFmpegList::Item(int index) const {
    if (index < 0 || index >= Count())
        throw std::out_of_range(FormatText("List index out of bounds (%d)", index));
    return *FItems[static_cast<std::size_t>(index)];
}

int TFFmpegList::IndexOf(const TCustomFFmpeg& job) const {
    for (std::size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i].get() == &job) return static_cast<int>(i);
    return -1;
}

void TFFmpegList::SuspendAll() {
    for (const auto& task : FItems) task->SuspendConvert();
}

void TFFmpegList::ResumeAll() {
    for (const auto& task : FItems) task->ResumeConvert();
}

void TFFmpegList::StopAll(bool wait) {
    for (const auto& task : FItems) task->StopConvert(wait);
}

void TFFmpegList::SetPreviewFlag(int flag, bool on) {
    for (const auto& task : FItems) {
        if (flag & kPreviewWindowFlag) task->SetPreview(on);
        if (flag & kPreviewBitmapFlag) task->SetPreviewBitmap(on);
    }
}

}  // namespace kestrova
