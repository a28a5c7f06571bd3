#pragma once
// TFFmpegEngine: the engine component, the one object through which a host drives conversions.
// It keeps a list of tasks, each one input with one or more outputs described by the host's
// option records, runs them in the calling thread or on worker threads (never more at once than
// the thread count asked for, in task order), pauses, resumes and stops them, and reports hooks,
// preview bitmaps, progress and terminations through its events (CustomFFmpegEngine.h).
//
// Run states: idle (after construction and ClearTasks) -> working (StartTask) -> all done (the
// notice with TaskIndex -1, which follows one notice per task) -> idle (ClearTasks). While
// working, AddTask, ReplaceTask, SetOutputFile, RemoveTask and StartTask raise "Cannot
// <operation> while working.", and ClearTasks raises until the run is all done. A run over an
// empty list gives its final notice at once, so that it can be cleared like any other.
#include "engine/front/CustomFFmpegEngine.h"
#include "engine/front/HostOptions.h"

#include <atomic>
#include <memory>
#include <string>

namespace kestrova {

class TFFmpegEngine final : public TCustomFFmpegEngine {
public:
    TFFmpegEngine() = default;
    ~TFFmpegEngine() override;

    // Whether every library the engine needs is loaded and bound.
    bool AVLibLoaded() const;
    // Loads the libraries from that folder (empty: the system's); false with LastErrMsg set.
    bool LoadAVLib(const std::string& libraryFolder);

    // A flag of the host that, once set, makes the tasks added from now on give up opening or
    // reading an input that blocks (null: none); see TCustomFFmpeg::SetHostInterrupt.
    void SetHostInterrupt(const std::atomic<bool>* flag) { FHostInterrupt = flag; }

    // A new task reading `fileName` (opened and probed at once), with the input record applied
    // when one is given (its empty FileName takes `fileName`). The task index, or -1 with
    // LastErrMsg set.
    int AddTask(const std::string& fileName, TInputOptions* inputOptions = nullptr);
    // The task at `taskIndex` made again with this input (as AddTask makes one), keeping its
    // index: how a host changes a waiting task's input record. False with LastErrMsg set and the
    // task as it was.
    bool ReplaceTask(int taskIndex, const std::string& fileName, TInputOptions* inputOptions = nullptr);
    // One more output of the task, with the output record applied when one is given; false with
    // LastErrMsg set and the task as it was (a task takes 20 outputs at most).
    bool SetOutputFile(int taskIndex, const std::string& fileName, TOutputOptions* outputOptions = nullptr);
    // Frees the task; those behind it move down by one index.
    void RemoveTask(int taskIndex);
    // Frees every task and returns to idle.
    void ClearTasks();

    // Runs every task of the list. With a thread count above 0, on that many worker threads at
    // most, returning at once; with 0, one after another in this thread, returning when every
    // notice (the final one included) has been given.
    void StartTask(int threadCount);
    // Parks the workers of the running tasks, and tasks launched later start parked; Resume
    // lets them go on. Once the run is stopping, Pause leaves the stopping tasks running to their
    // end.
    void Pause();
    void Resume();
    // Launches nothing more and stops every task in list order: a running task ends after the
    // packet at hand with its outputs complete, a task that never started gives its notice from
    // a thread of its own, a terminated one is left alone. With `waitForStop`, returns once they
    // have all ended and OnTerminate has returned for each of their notices (the main thread
    // keeps running the calls workers hand to it), except when
    // called inside an event that a task it would wait for could need (an OnTerminate handler of
    // a run without threads, a handler a worker waits for in a threaded run): there it does not
    // wait, and the notices follow once the handler has returned.
    void Stop(bool waitForStop);

private:
    const std::atomic<bool>* FHostInterrupt = nullptr;

    void CheckNotWorking(const char* operation) const;
    // A new task reading the file; null with LastErrMsg set.
    std::unique_ptr<TFFmpeg> MakeTask(const std::string& fileName, TInputOptions* inputOptions);
};

}  // namespace kestrova
