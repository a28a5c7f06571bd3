#include "tools/cli/ProfileMode.h"

#include "tools/cli/CommandLine.h"
#include "tools/cli/ComponentRun.h"
#include "tools/cli/ProfileCatalog.h"
#include "tools/cli/StopSignals.h"

#include "engine/frame/AVProbe.h"
#include "engine/frame/FFmpegLoader.h"
#include "engine/frame/ProgramLayout.h"
#include "engine/front/FFmpegEngine.h"
#include "profiles/options/OptionBuilder.h"
#include "profiles/options/ProfileChoices.h"
#include "profiles/options/SourceFromProbe.h"

#include <QFile>
#include <QFileInfo>

#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace kestrova::cli {

namespace {

constexpr int kRefused = 2;

QString FromBytes(const std::string& bytes) {
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

void PrintError(const QString& message) {
    std::fprintf(stderr, "kestrova-cli: %s\n", message.toLocal8Bit().constData());
}

// Raises ECommandLine when the outputs cannot be made in `folder`, with the system's reason.
void CheckOutputFolder(const std::string& folder) {
    const std::string named = "The output folder \"" + folder + "\" ";
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(folder, error);
    if (!std::filesystem::exists(status)) throw ECommandLine(named + "does not exist");
    if (!std::filesystem::is_directory(status)) throw ECommandLine(named + "is not a folder");
    if (::access(folder.c_str(), W_OK | X_OK) != 0)
        throw ECommandLine(named + "cannot be written: " + std::strerror(errno));
}

// The profile's choices with the --set values, or ECommandLine with the reason: what the user
// named wrongly, or a profile file that cannot be used.
TOptionChoices ProfileChoices(const TProfileCommandLine& command) {
    const TStorePaths paths = ProgramStorePaths();
    const TProfileCatalog catalog(paths);
    const std::optional<QString> path = catalog.FindProfileFile(FromBytes(command.Profile));
    if (!path)
        throw ECommandLine("No profile file or profile named \"" + command.Profile +
                           "\"; kestrova-cli --list shows them");
    TProfileDocument document;
    QString error;
    if (!document.Load(*path, &error)) throw ECommandLine(error.toStdString());

    TParameterOverrides overrides;
    for (const auto& [name, value] : command.Settings)
        overrides.emplace_back(FromBytes(name), FromBytes(value));
    TOptionChoices choices;
    if (!FillChoicesFromProfile(document, overrides, choices, &error))
        throw ECommandLine(error.toStdString());
    choices.ProgramFolder = paths.ModuleFolder();
    if (!command.OutputFolder.empty()) {
        CheckOutputFolder(command.OutputFolder);
        choices.OutputFolder = FromBytes(command.OutputFolder);
    }
    return choices;
}

// The files reserved for the outputs, by task line. A task that failed or never ran gives its
// file back; a stopped one keeps it when it holds something a player can open (a stopped run's
// output is complete up to the stop).
class TReservedOutputs {
public:
    explicit TReservedOutputs(std::size_t lines) : FPaths(lines), FEnds(lines, kNeverRan) {}
    ~TReservedOutputs() {
        for (std::size_t line = 0; line < FPaths.size(); ++line) {
            const bool kept =
                    FEnds[line] == kFinished || (FEnds[line] == kStopped && HoldsStreams(FPaths[line]));
            std::error_code error;
            if (!kept && !FPaths[line].empty()) std::filesystem::remove(FPaths[line], error);
        }
    }
    TReservedOutputs(const TReservedOutputs&) = delete;
    TReservedOutputs& operator=(const TReservedOutputs&) = delete;

    void Add(int line, const std::string& path) { FPaths[static_cast<std::size_t>(line)] = path; }
    // Called by the notices, one after another.
    void End(int line, const TTerminateInfo& info) {
        if (line < 0) return;
        FEnds[static_cast<std::size_t>(line)] = info.Exception  ? kFailed
                                                : info.Finished ? kFinished
                                                                : kStopped;
    }

private:
    static bool HoldsStreams(const std::string& path) {
        std::error_code error;
        if (!std::filesystem::is_regular_file(path, error) || std::filesystem::file_size(path, error) == 0)
            return false;
        TAVProbe probe;
        return probe.LoadFile(path) && probe.StreamCount() > 0 && probe.GetFileStreamInfo().Duration > 0;
    }

    enum TEnd : char { kNeverRan, kFinished, kStopped, kFailed };
    std::vector<std::string> FPaths;
    std::vector<TEnd> FEnds;
};

// The task of one input, its records built from the profile's choices and the input as the
// task opened it (once: a pipe is read by the run only); the reason when it cannot be set up.
std::string AddProfileTask(TFFmpegEngine& engine, const std::string& inputName, int line,
                           const TOptionChoices& profile, TReservedOutputs& reserved,
                           std::string& outputName) {
    TOptionChoices choices = profile;
    choices.Source.FileName = inputName;
    TInputOptions input = BuildInputOptions(choices);
    const int index = engine.AddTask(inputName, &input);
    if (index < 0) return engine.LastErrMsg();
    choices.Source = SourceFromProbe(engine.Task(index).InputProbe(0));
    TOutputOptions output = BuildOutputOptions(choices);
    reserved.Add(line, output.FileName);
    outputName = output.FileName;
    if (!engine.SetOutputFile(index, output.FileName, &output)) {
        const std::string reason = engine.LastErrMsg();
        engine.RemoveTask(index);
        return reason;
    }
    return {};
}

// One task per input; an input that cannot be set up fails alone, with its reason.
TTaskLines AddProfileTasks(TFFmpegEngine& engine, const TProfileCommandLine& command,
                           const TOptionChoices& profile, TQueueConsole& console,
                           TReservedOutputs& reserved) {
    TTaskLines lines;
    lines.LineCount = static_cast<int>(command.Inputs.size());
    for (int line = 0; line < lines.LineCount && !TStopSignals::Requested(); ++line) {
        const std::string& inputName = command.Inputs[static_cast<std::size_t>(line)];
        const std::string taskName = "task " + std::to_string(line + 1) + ": ";
        std::string outputName;
        const std::string reason = AddProfileTask(engine, inputName, line, profile, reserved, outputName);
        if (reason.empty()) {
            lines.LineOfTask.push_back(line);
            console.PrintLine(taskName + inputName + " -> " + outputName);
            continue;
        }
        console.PrintLine(taskName + reason);
        console.ShowFailure(line, reason);
    }
    lines.OnTaskEnd = [&reserved](int line, const TTerminateInfo& info) {
        reserved.End(line, info);
        return std::string();
    };
    return lines;
}

int ConvertWithProfile(const TProfileCommandLine& command) {
    // Before the profile is read: the --set values are checked against its container's muxer.
    if (!LoadMediaLibraries(MediaLibraryFolder())) {
        PrintError(QString::fromStdString(TFFmpegLoader::Instance().LastError()));
        return 1;
    }
    TOptionChoices profile;
    try {
        profile = ProfileChoices(command);
    } catch (const ECommandLine& error) {
        PrintError(QString::fromStdString(error.what()));
        return kRefused;
    }

    TQueueConsole console(stderr, isatty(STDERR_FILENO) != 0, command.Inputs);
    TLogWatch watch;
    const TConsoleLog log(console, watch);
    // Outlives the engine: the tasks have closed their files when it looks at them.
    TReservedOutputs reserved(command.Inputs.size());
    TFFmpegEngine engine;
    engine.SetHostInterrupt(&TStopSignals::Flag());
    const TTaskLines lines = AddProfileTasks(engine, command, profile, console, reserved);
    return RunTasks(engine, command.Processes, lines, console);
}

}  // namespace

int RunProfileMode(const std::vector<std::string>& arguments) {
    TProfileCommandLine command;
    try {
        command = ParseProfileCommandLine(arguments);
    } catch (const ECommandLine& error) {
        std::fprintf(stderr, "kestrova-cli: %s\n", error.what());
        std::fputs(UsageText().c_str(), stderr);
        return kRefused;
    }
    if (command.List) {
        std::fputs(TProfileCatalog(ProgramStorePaths()).ListingText().toLocal8Bit().constData(), stdout);
        return 0;
    }
    return ConvertWithProfile(command);
}

}  // namespace kestrova::cli
