#pragma once
// TFFmpegList: the component's tasks, owned, in task order (the index of a task is its task
// index), with the broadcasts the component sends to all of them.
#include "engine/front/FFmpegTask.h"

#include <memory>
#include <vector>

namespace kestrova {

class TFFmpegList {
public:
    // Appends the task; its index.
    int Add(std::unique_ptr<TFFmpeg> task);
    // Frees every task (each stops and waits for its own threads first).
    void Clear();
    // Puts `task` in the place of the task at `index`, which is freed.
    void Replace(int index, std::unique_ptr<TFFmpeg> task);
    // Frees the task at `index`; those behind it move down by one.
    void Delete(int index);
    // Raises std::out_of_range "List index out of bounds (%d)" for an index not in the list.
    TFFmpeg& Item(int index) const;
    // -1 when the job is not one of the list's tasks.
    int IndexOf(const TCustomFFmpeg& job) const;
    int Count() const { return static_cast<int>(FItems.size()); }

    // Parks the worker of every task that has one and is not parked.
    void SuspendAll();
    // Lets every parked worker go on.
    void ResumeAll();
    // Stops every task in list order (TCustomFFmpeg::StopConvert).
    void StopAll(bool wait);
    // Sets or clears a preview flag (kPreviewWindowFlag, kPreviewBitmapFlag) of every task.
    void SetPreviewFlag(int flag, bool on);

private:
    std::vector<std::unique_ptr<TFFmpeg>> FItems;
};

}  // namespace kestrova
