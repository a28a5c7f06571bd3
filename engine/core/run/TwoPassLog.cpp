#include "engine/core/run/TwoPassLog.h"

#include "engine/frame/ProgramLayout.h"

#include <cstring>

namespace kestrova {

namespace {

std::string DefaultPassLogPrefix() {
    const std::string folder = UserDataFolder();
    EnsureFolder(folder);
    return folder + kDefaultPassLogPrefix;
}

}  // namespace

std::string TwoPassLogName(const std::string& prefix, int outputStreamIndex) {
    constexpr std::size_t kMaxNameLength = 1023;
    std::string name = (prefix.empty() ? DefaultPassLogPrefix() : prefix) + "-" +
                       std::to_string(outputStreamIndex) + ".log";
    if (name.size() > kMaxNameLength) name.resize(kMaxNameLength);
    return name;
}

TwoPassLogPtr CreatePassOneLog(const std::string& name) {
    return TwoPassLogPtr(ff::my_fopen(name.c_str(), "wb"));
}

void WritePassOneStats(std::FILE* log, const char* text) {
    if (log && text) ff::my_fwrite(text, 1, std::strlen(text), log);
}

bool ReadPassTwoLog(const std::string& name, std::string& text) {
    TwoPassLogPtr log(ff::my_fopen(name.c_str(), "rb"));
    if (!log) return false;
    if (ff::my_fseek(log.get(), 0, SEEK_END) != 0) return false;
    const long size = ff::my_ftell(log.get());
    if (size < 0 || ff::my_fseek(log.get(), 0, SEEK_SET) != 0) return false;
    text.assign(static_cast<std::size_t>(size), '\0');
    return ff::my_fread(text.data(), 1, text.size(), log.get()) == text.size();
}

}  // namespace kestrova
