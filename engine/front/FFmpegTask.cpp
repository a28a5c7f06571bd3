#include "engine/front/FFmpegTask.h"

#include "engine/frame/Text.h"

#include <stdexcept>

namespace kestrova {

std::size_t TFFmpeg::SlotIndex(int slot) {
    if (slot < 0 || slot >= kMaxFiles)
        throw std::out_of_range(FormatText("slot index %d out of range", slot));
    return static_cast<std::size_t>(slot);
}

TFFmpeg::~TFFmpeg() {
    if (WorkerThread()) StopConvert(true);
}

TAVProbe& TFFmpeg::InputProbe(int slot) {
    std::unique_ptr<TAVProbe>& probe = FInputProbes[SlotIndex(slot)];
    if (!probe) probe = std::make_unique<TAVProbe>();
    return *probe;
}

bool TFFmpeg::HasInputProbe(int slot) const {
    return FInputProbes[SlotIndex(slot)] != nullptr;
}

void TFFmpeg::AttachInputProbe(int slot) {
    InputProbe(slot).AttachContext(Files().InputFiles[SlotIndex(slot)].get());
}

void TFFmpeg::DetachInputProbes() {
    for (std::unique_ptr<TAVProbe>& probe : FInputProbes)
        if (probe) probe->CloseFile();
}

TInputOptions& TFFmpeg::KeptInputOptions(int slot) {
    return FInputOptions[SlotIndex(slot)];
}
const TInputOptions& TFFmpeg::KeptInputOptions(int slot) const {
    return FInputOptions[SlotIndex(slot)];
}
TOutputOptions& TFFmpeg::KeptOutputOptions(int slot) {
    return FOutputOptions[SlotIndex(slot)];
}
const TOutputOptions& TFFmpeg::KeptOutputOptions(int slot) const {
    return FOutputOptions[SlotIndex(slot)];
}

}  // namespace kestrova
