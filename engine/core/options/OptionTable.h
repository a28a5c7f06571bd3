#pragma once
// The job's option vocabulary: a table of (name, handler) searched in order, exactly and
// case-sensitively.
#include <string>
#include <vector>

namespace kestrova {

class TCustomFFmpeg;

class TOptionTable {
public:
    using THandler = void (*)(TCustomFFmpeg& job, const std::string& name, const std::string& value);
    struct TEntry {
        const char* Name;
        THandler Apply;
    };

    // Applies the option when the table knows its name; false otherwise (the caller then
    // treats it as a generic library option).
    static bool Apply(TCustomFFmpeg& job, const std::string& name, const std::string& value);
    static const std::vector<TEntry>& Entries();

private:
    static std::vector<TEntry> MakeEntries();
};

}  // namespace kestrova
