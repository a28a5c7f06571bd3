#include "profiles/options/OptionBuilder.h"

#include "profiles/options/DiscTarget.h"
#include "profiles/options/FieldBuilders.h"
#include "profiles/options/FilterChain.h"
#include "profiles/options/HookLines.h"
#include "profiles/options/OutputName.h"
#include "profiles/options/TrimRange.h"

#include <string_view>

namespace kestrova {

namespace {

// Target profiles that name a container of their own; compared exactly.
void FillContainer(const TOptionChoices& choices, TOutputOptions& options) {
    options.FileFormat = choices.ProfileFormat.toStdString();
    if (choices.TargetProfile == QLatin1String("psp"))
        options.FileFormat = "psp";
    else if (choices.TargetProfile == QLatin1String("ipod"))
        options.FileFormat = "ipod";
    options.DisableVideo = IsAudioOnlyTarget(choices);
    options.DisableSubtitle = true;
}

}  // namespace

std::string OutputExtension(const TOptionChoices& choices) {
    std::string extension(1, '.');
    extension += choices.Extension.toLower().toStdString();
    return extension;
}

bool IsAudioOnlyTarget(const TOptionChoices& choices) {
    return choices.AudioOnlyTarget ||
           std::string_view(kAudioOnlyExtensions).find(OutputExtension(choices)) != std::string_view::npos;
}

int32_t SourceVideoKbps(const TVideoStreamInfo& video) {
    return video.BitRate > 0 ? video.BitRate / 1000 : 0;
}

TOutputOptions BuildOutputOptions(const TOptionChoices& choices) {
    return BuildNamedOutputOptions(
            choices, ReserveOutputFile(OutputNameBase(choices.Source.FileName, choices.OutputFolder),
                                       OutputExtension(choices)));
}

TOutputOptions BuildNamedOutputOptions(const TOptionChoices& choices, const std::string& fileName) {
    TOutputOptions options;
    FillAudioFields(choices, options);
    FillVideoFields(choices, options);
    if (const std::optional<TTrimRange> trim = ChosenTrimRange(choices)) options.Duration = trim->Duration;
    options.ExtOptions = BuildHookLines(choices);
    options.CustomHook = choices.Hooks.Mode == THookMode::Custom;
    options.CopyTimestamps = choices.CopyTimestamps;
    options.VideoFilters = BuildFilterChain(choices.Filters);
    FillDiscTarget(choices, options);
    FillContainer(choices, options);
    options.FileName = fileName;
    return options;
}

TInputOptions BuildInputOptions(const TOptionChoices& choices) {
    TInputOptions options;
    options.FileName = choices.Source.FileName;
    options.FileFormat = choices.Source.FormatName;
    if (const std::optional<TTrimRange> trim = ChosenTrimRange(choices)) options.StartTime = trim->Start;
    return options;
}

}  // namespace kestrova
