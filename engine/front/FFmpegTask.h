#pragma once
// TFFmpeg: one task of the engine component, a job that also keeps what the component gave it:
// per input slot a probe attached to the opened input and the input record applied for it, per
// output slot the output record applied for it.
//
// A task waiting for its run keeps its input closed: a description of it serves the
// probe and the outputs added meanwhile, and the launch opens the file again.
#include "engine/core/CustomFFmpeg.h"
#include "engine/frame/AVProbe.h"
#include "engine/front/ClosedInput.h"
#include "engine/front/HostOptions.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace kestrova {

class TFFmpeg : public TCustomFFmpeg {
public:
    TFFmpeg() = default;
    // Stops a running task before anything of it goes: its worker still calls back into it.
    ~TFFmpeg() override;

    // The probe of an input slot (0 to 19), made on first use.
    TAVProbe& InputProbe(int slot);
    bool HasInputProbe(int slot) const;
    // Attaches the slot's probe to the input the job opened in that slot.
    void AttachInputProbe(int slot);
    // The job releases its inputs when its run ends: its probes let go of them (every value
    // then reads -1), so that none is read after the job closed it.
    void DetachInputProbes();

    // Closes the task's only input, just added from `fileName` (with `inputOptions` applied
    // before it when given), leaving its description in its place until the launch. An input that is
    // not a plain file stays open.
    void SetInputAside(const std::string& fileName, const TInputOptions* inputOptions);
    // Starts the run (StartConvert). A start that cannot be made (no thread for the worker)
    // fails the task with the reason and gives its notice at once. The set-aside input is
    // opened again on the run's thread, as its first step: a file that is gone or changed since
    // it was added fails the run with the reason, and nothing is written.
    TConvertThread* Launch(bool threaded, TThreadPriority priority);

    // What the output tables hold now; RemoveOutputsSince takes them back to it: the outputs
    // added since are closed and freed, a file they made and left empty goes from disk.
    struct TOutputsMark {
        int Entries = 0;
        std::size_t Files = 0;
        int Codecs = 0;
        bool Join = false;
        int64_t TotalDuration = -1;
    };
    TOutputsMark MarkOutputs() const;
    void RemoveOutputsSince(const TOutputsMark& mark);

    // The records kept per slot: defaults until a record is applied to that slot.
    TInputOptions& KeptInputOptions(int slot);
    const TInputOptions& KeptInputOptions(int slot) const;
    TOutputOptions& KeptOutputOptions(int slot);
    const TOutputOptions& KeptOutputOptions(int slot) const;

protected:
    void PrepareInputs() override;

private:
    static std::size_t SlotIndex(int slot);

    // What identifies the file's content between the add and the launch.
    struct TFileStamp {
        std::uintmax_t Size = 0;
        std::chrono::nanoseconds Modified{};
        bool operator==(const TFileStamp&) const = default;
    };
    static std::optional<TFileStamp> StampOf(const std::string& fileName);
    // The input opened again as it was added; the failure text when it cannot be.
    std::string ReopenInput();
    void FailLaunch(const std::string& message);
    void FreeClosedInput();

    std::unique_ptr<TClosedInput> FClosedInput;
    std::string FSetAsideName;
    std::optional<TInputOptions> FSetAsideOptions;
    int FSetAsideVerbose = 1;
    TFileStamp FSetAsideStamp;

    std::array<std::unique_ptr<TAVProbe>, kMaxFiles> FInputProbes;
    std::array<TInputOptions, kMaxFiles> FInputOptions;
    std::array<TOutputOptions, kMaxFiles> FOutputOptions;
};

}  // namespace kestrova
