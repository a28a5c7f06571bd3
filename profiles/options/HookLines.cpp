#include "profiles/options/HookLines.h"

#include "engine/core/options/VideoHookPeriods.h"
#include "profiles/options/HookModules.h"
#include "profiles/options/PictureSize.h"

#include <QFile>

#include <algorithm>

namespace kestrova {

namespace {

// The demo image's size when its picture cannot be read.
constexpr TPictureSize kDefaultDemoPicture{64, 64};
// The demo image keeps this far from the picture's right and bottom edges.
constexpr int kDemoImageMargin = 10;

const char kDefaultHookText[] = "Kestrova";

class THookArgumentsMaker {
public:
    explicit THookArgumentsMaker(const TOptionChoices& choices)
        : FChoices(choices), FFolder(HookFolder(choices.ProgramFolder)) {}

    THookArguments Make(THook hook) const {
        const THookChoices& h = FChoices.Hooks;
        switch (hook) {
            case THook::Imlib2Image:
                if (h.ImageDancing)
                    return {Module(hook),
                            "-i",
                            Picture(hook),
                            "-x",
                            "(W-w)*(0.5+0.5*sin(N/47*PI))",
                            "-y",
                            "(H-h)*(0.5+0.5*cos(N/97*PI))"};
                return {Module(hook), "-i", Picture(hook), "-x", "W-w", "-y", "H-h"};
            case THook::Imlib2Text:
                return {Module(hook),
                        "-R",
                        "255",
                        "-G",
                        "255",
                        "-B",
                        "255",
                        "-F",
                        "Tahoma.ttf/16",
                        "-t",
                        Text(h.Imlib2TextText),
                        "-x",
                        "10",
                        "-y",
                        h.TextScrolling ? "(H-25)*(0.5+0.50*cos(N/97*PI))" : "10"};
            case THook::WaterMark:
                return {Module(hook), "-f", Picture(hook), "-m", h.WaterMarkMode1 ? "1" : "0"};
            case THook::DemoImage: {
                const QString picture = FFolder + QLatin1String(HookModule(hook).Picture);
                const TPictureSize size = ReadPictureSize(picture).value_or(kDefaultDemoPicture);
                const TVideoStreamInfo& video = FChoices.Source.Video;
                return {Module(hook),
                        "-i",
                        Picture(hook),
                        "-mc",
                        "FFFFFF",
                        "-ix",
                        std::to_string(int64_t{video.Width} - size.Width - kDemoImageMargin),
                        "-iy",
                        std::to_string(int64_t{video.Height} - size.Height - kDemoImageMargin)};
            }
            case THook::DemoText:
                return {Module(hook), "-t",     Text(h.DemoTextText),
                        "-tx",        "10",     "-ty",
                        "10",         "-fc",    "FFFFFF",
                        "-fn",        "Tahoma", "-fs",
                        "16",         "-fst",   "BU"};
        }
        return {};
    }

private:
    std::string Module(THook hook) const { return Path(HookModule(hook).Module); }
    std::string Picture(THook hook) const { return Path(HookModule(hook).Picture); }
    std::string Path(const char* name) const {
        return QFile::encodeName(FFolder + QLatin1String(name)).toStdString();
    }

    static std::string Text(const QString& typed) {
        const QString text = typed.trimmed();
        return text.isEmpty() ? std::string(kDefaultHookText) : text.toStdString();
    }

    const TOptionChoices& FChoices;
    QString FFolder;
};

bool IsChecked(const THookChoices& hooks, THook hook) {
    switch (hook) {
        case THook::Imlib2Image:
            return hooks.Imlib2Image;
        case THook::Imlib2Text:
            return hooks.Imlib2Text;
        case THook::WaterMark:
            return hooks.WaterMark;
        case THook::DemoImage:
            return hooks.DemoImage;
        case THook::DemoText:
            return hooks.DemoText;
    }
    return false;
}

std::string JoinedArguments(const THookArguments& arguments) {
    const bool blank = std::any_of(arguments.begin(), arguments.end(),
                                   [](const std::string& a) { return a.find(' ') != std::string::npos; });
    const char separator = blank ? '|' : ' ';
    std::string joined;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (i > 0) joined += separator;
        joined += arguments[i];
    }
    return joined;
}

}  // namespace

std::vector<THookArguments> ActiveHookArguments(const TOptionChoices& choices) {
    std::vector<THookArguments> active;
    if (choices.Hooks.Mode != THookMode::External) return active;
    const THookArgumentsMaker maker(choices);
    for (const THookModule& module : kHookModules)
        if (IsChecked(choices.Hooks, module.Hook) && IsHookModulePresent(module.Hook, choices.ProgramFolder))
            active.push_back(maker.Make(module.Hook));
    return active;
}

std::string BuildHookLines(const TOptionChoices& choices) {
    std::string lines;
    for (const THookArguments& arguments : ActiveHookArguments(choices))
        lines += "vhook=" + JoinedArguments(arguments) + "\r\n";
    const QString periods = choices.Hooks.PeriodsText.trimmed();
    if (!lines.empty() && choices.Hooks.Behaviour == THookBehaviour::Periods && !periods.isEmpty())
        lines += "vhookperiods=" + periods.toStdString() + "\r\n";
    return lines;
}

bool HookPeriodsAccepted(const QString& periods) {
    return TVideoHookPeriods::Parse(periods.toStdString()).has_value();
}

}  // namespace kestrova
