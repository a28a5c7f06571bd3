#pragma once
// The records that hang on a queue row: what Start hands to the engine for it, and whether the
// row may still be edited.
#include "engine/front/HostOptions.h"

#include <QString>

#include <cstdint>

namespace kestrova {

// A row's engine task and the option records its options dialog produced (deep copies).
class TCotainerIOOptions {
public:
    int32_t TaskIndex = -1;
    QString InputFileName;
    QString OutputFileName;  // changed by the in-place rename
    TOutputOptions OutputOptions;
    TInputOptions InputOptions;  // handed to the engine once, when the task is created
};

// True from the row's creation until the engine reports the end of its task.
class TLVItemState {
public:
    bool Editable = true;
};

}  // namespace kestrova
