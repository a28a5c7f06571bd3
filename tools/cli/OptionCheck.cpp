#include "tools/cli/OptionCheck.h"

#include "tools/cli/CommandLine.h"

#include "engine/core/CustomFFmpeg.h"
#include "engine/core/options/OptionTable.h"

namespace kestrova::cli {

namespace {

std::string OptionText(const std::string& name, const std::string& value) {
    return "Option -" + name + " " + value + ": ";
}

void ApplyLibraryOption(TCustomFFmpeg& job, const std::string& name, const std::string& value,
                        const TLogWatch& watch) {
    const int refusedBefore = watch.InvalidValueCount();
    if (job.SetAVOption(name, value)) return;
    if (watch.InvalidValueCount() != refusedBefore)
        throw ECommandLine(OptionText(name, value) + watch.LastInvalidValue());
    throw ECommandLine("Unrecognized option '-" + name + "'");
}

}  // namespace

bool IsEngineOption(const std::string& name) {
    for (const TOptionTable::TEntry& entry : TOptionTable::Entries())
        if (name == entry.Name) return true;
    return false;
}

void ApplyCheckedOption(TCustomFFmpeg& job, const std::string& name, const std::string& value,
                        const TLogWatch& watch) {
    if (!IsEngineOption(name)) {
        ApplyLibraryOption(job, name, value, watch);
        return;
    }
    // Some of the engine's options hand their value on to a library and go on when it is
    // refused; on the command line that is an error all the same.
    const int refusedBefore = watch.InvalidValueCount();
    try {
        job.ApplyOption(name, value);
    } catch (const std::exception& error) {
        throw ECommandLine(OptionText(name, value) + error.what());
    }
    if (watch.InvalidValueCount() != refusedBefore)
        throw ECommandLine(OptionText(name, value) + watch.LastInvalidValue());
}

}  // namespace kestrova::cli
