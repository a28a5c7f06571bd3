#include "bench/peers/PeerCases.h"

#include "tests/support/TestMedia.h"

#include <filesystem>

namespace kestrova::bench {

namespace {

using TArguments = std::vector<std::string>;

std::string Source(const std::string& format, int width, int height, double seconds = 60.0) {
    testmedia::ClipSpec spec;
    spec.format = format;
    spec.duration = seconds;
    spec.width = width;
    spec.height = height;
    return testmedia::Clip(spec);
}

// The one-file conversion: libx264 at 1000 kbit/s in Kestrova's "default" preset, AAC at 128
// kbit/s. That preset is x264's "medium" with quantisers 10 to 51 and an I/P ratio of 1 / 0.71;
// the peers are given those three as well, so that every side's x264 line reads the same.
TArguments KestrovaEncode(const std::string& source, const std::string& output) {
    return {"-i",      source,    "-vcodec", "libx264", "-vpre",  "default", "-b",
            "1000000", "-acodec", "aac",     "-ab",     "128000", output};
}

// ffmpeg reading `source` and writing `output` with these codec options, quietly.
TArguments FfmpegCommand(const std::string& source, const TArguments& codecOptions,
                         const std::string& output) {
    TArguments arguments{"ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-y", "-i", source};
    arguments.insert(arguments.end(), codecOptions.begin(), codecOptions.end());
    arguments.push_back(output);
    return arguments;
}

TArguments FfmpegEncode(const std::string& source, const std::string& output) {
    return FfmpegCommand(source,
                         {"-c:v", "libx264", "-b:v", "1000k", "-qmin", "10", "-qmax", "51", "-i_qfactor",
                          "0.71", "-c:a", "aac", "-b:a", "128k"},
                         output);
}

// HandBrakeCLI keeps the picture as it is (no crop, scaling or filters) and the source's timing.
TArguments HandBrakeEncode(const std::string& source, const std::string& output) {
    return {"HandBrakeCLI",
            "-i",
            source,
            "-o",
            output,
            "-f",
            "av_mp4",
            "-e",
            "x264",
            "--encoder-preset",
            "medium",
            "-b",
            "1000",
            "-x",
            "qpmin=10:qpmax=51:ipratio=1.408450704",
            "-E",
            "av_aac",
            "-B",
            "128",
            "-6",
            "stereo",
            "--crop-mode",
            "none",
            "--non-anamorphic",
            "--no-comb-detect",
            "--no-decomb",
            "--no-deinterlace",
            "--no-detelecine",
            "--no-nlmeans",
            "--no-deblock",
            "--no-chroma-smooth",
            "--no-unsharp",
            "--no-lapsharp",
            "--no-grayscale",
            "--vfr"};
}

// A side's folder, made afresh; `name` becomes part of the path.
std::string SideFolder(const std::string& folder, const std::string& caseName, const std::string& side) {
    std::string name = caseName + "-" + side;
    for (char& c : name)
        if (c == ' ' || c == ',' || c == '/') c = '_';
    const std::string path = folder + "/" + name;
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
    return path;
}

// A side that converts `files` inputs, each with its own program run, `atOnce` at a time.
using TCommandLine = TArguments (*)(const std::string& source, const std::string& output);
TSide SeparateRuns(const std::string& name, TCommandLine commandLine, const std::string& source,
                   const std::string& extension, int files, int atOnce, const std::string& folder,
                   const std::string& caseName, bool targetPeer) {
    TSide side{name, {}, atOnce, {}, targetPeer};
    const std::string sideFolder = SideFolder(folder, caseName, name);
    for (int file = 0; file < files; ++file) {
        const std::string output = sideFolder + "/out" + std::to_string(file) + extension;
        side.Commands.push_back(
                {commandLine(source, output), sideFolder + "/log" + std::to_string(file) + ".txt"});
        side.Outputs.push_back(output);
    }
    return side;
}

// Kestrova's side: one kestrova-cli run; with `processes`, a queue of `files` tasks on the
// engine component, that many at once.
TSide KestrovaSide(const TPrograms& programs, const std::string& source, int files, int processes,
                   const TArguments& options, const std::string& extension, const std::string& folder,
                   const std::string& caseName) {
    TSide side{"kestrova-cli", {}, 1, {}, false};
    const std::string sideFolder = SideFolder(folder, caseName, "kestrova");
    TArguments arguments{programs.KestrovaCli};
    if (processes > 0) arguments.insert(arguments.end(), {"-processes", std::to_string(processes)});
    for (int file = 0; file < files; ++file) {
        const std::string output = sideFolder + "/out" + std::to_string(file) + extension;
        // In a queue, -y belongs to the task it stands in: each round replaces every output.
        arguments.insert(arguments.end(), {"-y", "1", "-i", source});
        arguments.insert(arguments.end(), options.begin(), options.end());
        arguments.push_back(output);
        side.Outputs.push_back(output);
    }
    side.Commands.push_back({arguments, sideFolder + "/log.txt"});
    return side;
}

// The x264 options of KestrovaEncode, without input and output.
TArguments KestrovaEncodeOptions() {
    TArguments options = KestrovaEncode("", "");
    return {options.begin() + 2, options.end() - 1};
}

TCase OneFileCase(const TPrograms& programs, const std::string& name, const std::string& source,
                  const std::string& folder) {
    TCase oneFile{name,
                  {KestrovaSide(programs, source, 1, 0, KestrovaEncodeOptions(), ".mp4", folder, name)}};
    if (programs.Ffmpeg)
        oneFile.Sides.push_back(
                SeparateRuns("ffmpeg", FfmpegEncode, source, ".mp4", 1, 1, folder, name, true));
    if (programs.HandBrake)
        oneFile.Sides.push_back(
                SeparateRuns("HandBrakeCLI", HandBrakeEncode, source, ".mp4", 1, 1, folder, name, true));
    oneFile.RatioLimit = 0.95;
    oneFile.MemoryTarget = true;
    return oneFile;
}

TCase QueueCase(const TPrograms& programs, const std::string& source, const std::string& folder) {
    const std::string name = "queue of four FLV1 files, -processes 2";
    TCase queue{name, {KestrovaSide(programs, source, 4, 2, KestrovaEncodeOptions(), ".mp4", folder, name)}};
    if (programs.Ffmpeg)
        queue.Sides.push_back(SeparateRuns("ffmpeg, one after another", FfmpegEncode, source, ".mp4", 4, 1,
                                           folder, name, false));
    if (programs.HandBrake)
        queue.Sides.push_back(SeparateRuns("HandBrakeCLI, one after another", HandBrakeEncode, source, ".mp4",
                                           4, 1, folder, name, false));
    if (programs.Ffmpeg)
        queue.Sides.push_back(SeparateRuns("ffmpeg, two at a time", FfmpegEncode, source, ".mp4", 4, 2,
                                           folder, name, true));
    queue.RatioLimit = 1.0;
    queue.MinCoresBusy = 1.9;
    return queue;
}

TArguments FfmpegCopy(const std::string& source, const std::string& output) {
    return FfmpegCommand(source, {"-c", "copy"}, output);
}

TArguments FfmpegMp3(const std::string& source, const std::string& output) {
    return FfmpegCommand(source, {"-c:a", "libmp3lame", "-b:a", "192k"}, output);
}

// One conversion on Kestrova and on ffmpeg (HandBrakeCLI cannot copy streams or take a file
// without pictures).
TCase AgainstFfmpeg(const TPrograms& programs, const std::string& name, const std::string& source,
                    const TArguments& kestrovaOptions, TCommandLine ffmpeg, const std::string& extension,
                    const std::string& folder) {
    TCase against{name, {KestrovaSide(programs, source, 1, 0, kestrovaOptions, extension, folder, name)}};
    if (programs.Ffmpeg)
        against.Sides.push_back(SeparateRuns("ffmpeg", ffmpeg, source, extension, 1, 1, folder, name, true));
    return against;
}

}  // namespace

std::vector<TCase> PeerCases(const TPrograms& programs, const std::string& folder) {
    const std::string flv = Source("flv", 640, 360);
    const std::string mp4 = Source("mp4", 1280, 720);
    const std::string wma = Source("wma", 320, 240);
    std::vector<TCase> cases;
    cases.push_back(OneFileCase(programs, "one file, 640x360 FLV1+MP3 60 s to MP4 (x264 1000k, AAC 128k)",
                                flv, folder));
    cases.push_back(OneFileCase(
            programs, "one file, 1280x720 H.264+AAC MP4 60 s to MP4 (x264 1000k, AAC 128k)", mp4, folder));
    cases.push_back(QueueCase(programs, flv, folder));

    TCase copy = AgainstFfmpeg(programs, "stream copy, 1280x720 MP4 60 s to MKV", mp4,
                               {"-vcodec", "copy", "-acodec", "copy"}, FfmpegCopy, ".mkv", folder);
    copy.RatioLimit = 1.0;
    cases.push_back(copy);
    cases.push_back(AgainstFfmpeg(programs, "audio file, WMA 60 s to MP3 192k", wma,
                                  {"-acodec", "libmp3lame", "-ab", "192000"}, FfmpegMp3, ".mp3", folder));
    return cases;
}

std::vector<TCommand> WarmUpCommands(const TPrograms& programs, const std::string& folder) {
    const std::string clip = Source("flv", 640, 360, 2.0);
    TArguments kestrova{programs.KestrovaCli, "-y", "1"};
    const TArguments encode = KestrovaEncode(clip, folder + "/warm-up-kestrova.mp4");
    kestrova.insert(kestrova.end(), encode.begin(), encode.end());
    std::vector<TCommand> commands{{kestrova, folder + "/warm-up-kestrova.txt"}};
    if (programs.Ffmpeg)
        commands.push_back(
                {FfmpegEncode(clip, folder + "/warm-up-ffmpeg.mp4"), folder + "/warm-up-ffmpeg.txt"});
    if (programs.HandBrake)
        commands.push_back({HandBrakeEncode(clip, folder + "/warm-up-handbrake.mp4"),
                            folder + "/warm-up-handbrake.txt"});
    return commands;
}

}  // namespace kestrova::bench
