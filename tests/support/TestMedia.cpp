#include "tests/support/TestMedia.h"

#include "tests/support/ProcessRun.h"
#include "tools/mediagen/FormatTable.h"

#include <charconv>
#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace kestrova::testmedia {

namespace {

namespace fs = std::filesystem;

// Shortest text that reads back as the same number, so the file name and the generator's
// argument always describe the same clip.
std::string NumberText(double value) {
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (error != std::errc()) throw std::runtime_error("cannot format a number");
    return std::string(buffer, end);
}

// Keeps letters, digits, '.', '-' and '_'; anything else becomes '-'.
std::string FileNamePart(const std::string& text) {
    std::string part = text;
    for (char& c : part) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '.' || c == '-' || c == '_';
        if (!plain) c = '-';
    }
    return part;
}

std::string ClipFileName(const ClipSpec& spec) {
    std::string name = FileNamePart(spec.format) + "_" + NumberText(spec.duration) + "s_" +
                       std::to_string(spec.width) + "x" + std::to_string(spec.height) + "_" +
                       FileNamePart(spec.rate) + "fps_" + std::to_string(spec.sampleRate) + "hz_" +
                       std::to_string(spec.channels) + "ch";
    if (spec.audioOffset != 0.0) name.append("_offset").append(NumberText(spec.audioOffset));
    if (spec.changeWidth > 0)
        name.append("_to")
                .append(std::to_string(spec.changeWidth))
                .append("x")
                .append(std::to_string(spec.changeHeight));
    if (spec.changeSampleRate > 0)
        name.append("_to").append(std::to_string(spec.changeSampleRate)).append("hz");
    if (spec.changeChannels > 0) name.append("_to").append(std::to_string(spec.changeChannels)).append("ch");
    if (!spec.video) name.append("_novideo");
    if (!spec.audio) name.append("_noaudio");
    if (!spec.damage.empty()) name.append("_").append(FileNamePart(spec.damage));
    const std::string extension = spec.extension.empty() ? FormatExtension(spec.format) : spec.extension;
    return name.append(".").append(FileNamePart(extension));
}

std::vector<std::string> GeneratorArguments(const ClipSpec& spec, const std::string& output) {
    std::vector<std::string> args = {
            "--format",      spec.format,
            "--duration",    NumberText(spec.duration),
            "--size",        std::to_string(spec.width) + "x" + std::to_string(spec.height),
            "--rate",        spec.rate,
            "--sample-rate", std::to_string(spec.sampleRate),
            "--channels",    std::to_string(spec.channels),
            "--output",      output,
    };
    if (spec.audioOffset != 0.0) args.insert(args.end(), {"--audio-offset", NumberText(spec.audioOffset)});
    if (spec.changeWidth > 0)
        args.insert(args.end(), {"--change-size",
                                 std::to_string(spec.changeWidth) + "x" + std::to_string(spec.changeHeight)});
    if (spec.changeSampleRate > 0)
        args.insert(args.end(), {"--change-sample-rate", std::to_string(spec.changeSampleRate)});
    if (spec.changeChannels > 0)
        args.insert(args.end(), {"--change-channels", std::to_string(spec.changeChannels)});
    if (!spec.audio) args.push_back("--no-audio");
    const mediagen::TFormatProfile* profile = mediagen::FindFormat(spec.format);
    // Audio-only formats have no video to leave out.
    if (!spec.video && profile && profile->VideoEncoder) args.push_back("--no-video");
    if (!spec.damage.empty()) args.insert(args.end(), {"--damage", spec.damage});
    return args;
}

// A clip made by an older generator than the one built now is made again.
bool UpToDate(const fs::path& clip) {
    std::error_code error;
    const auto clipTime = fs::last_write_time(clip, error);
    if (error) return false;
    const auto generatorTime = fs::last_write_time(GeneratorPath(), error);
    return !error && clipTime >= generatorTime;
}

}  // namespace

std::string GeneratorPath() {
    return KESTROVA_MEDIAGEN_PATH;
}

std::string BuildDir() {
    return KESTROVA_TEST_BUILD_DIR;
}

std::string FormatExtension(const std::string& format) {
    const mediagen::TFormatProfile* profile = mediagen::FindFormat(format);
    return profile ? profile->Extension : format;
}

GeneratorRun RunGenerator(const std::vector<std::string>& args) {
    const ProcessResult result = RunProcess(GeneratorPath(), args);
    return {result.exitCode, result.output};
}

std::string Clip(const ClipSpec& spec) {
    const fs::path folder = fs::path(BuildDir()) / "test-media";
    const fs::path clip = folder / ClipFileName(spec);
    if (UpToDate(clip)) return clip.string();
    fs::create_directories(folder);
    // The generator writes under a name of its own and renames into place, so processes
    // racing for the same clip each end with the same complete file.
    const GeneratorRun run = RunGenerator(GeneratorArguments(spec, clip.string()));
    if (run.exitCode != 0 || !fs::is_regular_file(clip))
        throw std::runtime_error("cannot make the test clip " + clip.string() + " (exit code " +
                                 std::to_string(run.exitCode) + "): " + run.output);
    return clip.string();
}

std::string TempDir(const std::string& name) {
    const fs::path folder = fs::path(BuildDir()) / "test-tmp" / FileNamePart(name);
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder.string();
}

}  // namespace kestrova::testmedia
