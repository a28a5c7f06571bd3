#include "tools/cli/ProfileMode.h"

#include "tools/cli/CommandLine.h"
#include "tools/cli/ComponentRun.h"
#include "tools/cli/ProfileCatalog.h"
#include "tools/cli/StopSignals.h"

#include "engine/frame/AVProbe.h"
#include "engine/frame/ProgramLayout.h"
#include "engine/front/FFmpegEngine.h"
#include "profiles/options/OptionBuilder.h"
#include "profiles/options/ProfileChoices.h"
#include "profiles/options/SourceFromProbe.h"

#include <QFile>
#include <QFileInfo>

#include <unistd.h>
#include <cstdio>
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

// The profile's choices with the --set values, or the reason (ECommandLine for what the user
// named wrongly, EJobSetUp for a profile file that cannot be used).
TOptionChoices ProfileChoices(const TProfileCommandLine& command) {
    const TStorePaths paths = ProgramStorePaths();
    const TProfileCatalog catalog(paths);
    const std::optional<QString> path = catalog.FindProfileFile(FromBytes(command.Profile));
    if (!path)
        throw ECommandLine("No profile file or profile named \"" + command.Profile +
                           "\"; kestrova-cli --list shows them");
    TProfileDocument document;
    QString error;
    if (!document.Load(*path, &error)) throw EJobSetUp(error.toStdString());

    TParameterOverrides overrides;
    for (const auto& [name, value] : command.Settings)
        overrides.emplace_back(FromBytes(name), FromBytes(value));
    TOptionChoices choices;
    if (!FillChoicesFromProfile(document, overrides, choices, &error))
        throw ECommandLine(error.toStdString());
    choices.ProgramFolder = paths.ModuleFolder();
    if (!command.OutputFolder.empty()) {
        std::error_code folderError;
        if (!std::filesystem::is_directory(command.OutputFolder, folderError))
            throw ECommandLine("The output folder \"" + command.OutputFolder + "\" does not exist");
        choices.OutputFolder = FromBytes(command.OutputFolder);
    }
    return choices;
}

// The empty files reserved for outputs; those still empty are removed unless the run took them.
class TReservedOutputs {
public:
    ~TReservedOutputs() {
        if (FKept) return;
        for (const std::string& path : FPaths) {
            std::error_code error;
            if (std::filesystem::is_regular_file(path, error) && std::filesystem::file_size(path, error) == 0)
                std::filesystem::remove(path, error);
        }
    }
    void Add(const std::string& path) { FPaths.push_back(path); }
    void Keep() { FKept = true; }

private:
    std::vector<std::string> FPaths;
    bool FKept = false;
};

// One task per input, its records built from the profile's choices and the probed input.
// False, with the reason shown, at the first input that cannot be set up.
bool AddProfileTasks(TFFmpegEngine& engine, const TProfileCommandLine& command, const TOptionChoices& profile,
                     TQueueConsole& console, TReservedOutputs& reserved) {
    for (std::size_t i = 0; i < command.Inputs.size(); ++i) {
        const std::string taskName = "task " + std::to_string(i + 1) + ": ";
        TAVProbe probe;
        if (!probe.LoadFile(command.Inputs[i])) {
            console.PrintLine(taskName + probe.LastErrMsg());
            return false;
        }
        TOptionChoices choices = profile;
        choices.Source = SourceFromProbe(probe);
        TOutputOptions output = BuildOutputOptions(choices);
        reserved.Add(output.FileName);
        TInputOptions input = BuildInputOptions(choices);
        const int index = engine.AddTask(input.FileName, &input);
        if (index < 0 || !engine.SetOutputFile(index, output.FileName, &output)) {
            console.PrintLine(taskName + engine.LastErrMsg());
            return false;
        }
        console.PrintLine(taskName + command.Inputs[i] + " -> " + output.FileName);
    }
    return true;
}

int ConvertWithProfile(const TProfileCommandLine& command) {
    TOptionChoices profile;
    try {
        profile = ProfileChoices(command);
    } catch (const ECommandLine& error) {
        PrintError(QString::fromStdString(error.what()));
        return kRefused;
    } catch (const EJobSetUp& error) {
        PrintError(QString::fromStdString(error.what()));
        return 1;
    }

    TQueueConsole console(stderr, isatty(STDERR_FILENO) != 0, command.Inputs);
    TLogWatch watch;
    const TConsoleLog log(console, watch);
    TReservedOutputs reserved;
    TFFmpegEngine engine;
    if (!engine.AVLibLoaded() && !engine.LoadAVLib(MediaLibraryFolder())) {
        console.PrintLine(engine.LastErrMsg());
        return 1;
    }
    if (!AddProfileTasks(engine, command, profile, console, reserved)) return 1;
    if (TStopSignals::Requested()) {
        console.PrintLine("stopped before any task ran");
        return 1;
    }
    reserved.Keep();
    return RunTasks(engine, command.Processes, static_cast<int>(command.Inputs.size()), console);
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
