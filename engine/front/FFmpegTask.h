#pragma once
// TFFmpeg: one task of the engine component, a job that also keeps what the component gave it:
// per input slot a probe attached to the opened input and the input record applied for it, per
// output slot the output record applied for it.
#include "engine/core/CustomFFmpeg.h"
#include "engine/frame/AVProbe.h"
#include "engine/front/HostOptions.h"

#include <array>
#include <memory>

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

    // The records kept per slot: defaults until a record is applied to that slot.
    TInputOptions& KeptInputOptions(int slot);
    const TInputOptions& KeptInputOptions(int slot) const;
    TOutputOptions& KeptOutputOptions(int slot);
    const TOutputOptions& KeptOutputOptions(int slot) const;

private:
    static std::size_t SlotIndex(int slot);

    std::array<std::unique_ptr<TAVProbe>, kMaxFiles> FInputProbes;
    std::array<TInputOptions, kMaxFiles> FInputOptions;
    std::array<TOutputOptions, kMaxFiles> FOutputOptions;
};

}  // namespace kestrova
