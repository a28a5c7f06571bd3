// The engine binds the media libraries at run time: its binaries must not name any of them as a
// link-time dependency, or the library folder would be bypassed.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

// The NEEDED entries of an executable's dynamic section, as readelf lists them.
std::vector<std::string> NeededLibraries(const std::string& binary) {
    std::vector<std::string> needed;
    const std::string command = "readelf -d '" + binary + "' 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) return needed;
    std::array<char, 512> line{};
    while (std::fgets(line.data(), line.size(), pipe.get())) {
        const std::string text(line.data());
        if (text.find("(NEEDED)") == std::string::npos) continue;
        const auto open = text.find('['), close = text.find(']');
        if (open != std::string::npos && close != std::string::npos && close > open)
            needed.push_back(text.substr(open + 1, close - open - 1));
    }
    return needed;
}

}  // namespace

TEST(NoMediaLibraryLink, EngineTestBinaryNeedsNoMediaLibrary) {
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const auto needed = NeededLibraries(self);
    ASSERT_FALSE(needed.empty()) << "readelf -d listed no NEEDED entry for " << self;
    for (const std::string& library : needed)
        for (const char* forbidden : {"libav", "libsw", "libpostproc"})
            EXPECT_NE(library.rfind(forbidden, 0), 0u) << self << " links " << library;
}
