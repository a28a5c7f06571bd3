#include "tests/robustness/GuardedConversion.h"

#include "engine/core/CustomFFmpeg.h"
#include "engine/core/FFmpegException.h"
#include "engine/frame/AVProbe.h"
#include "engine/frame/FFmpegLogger.h"

#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <iostream>
#include <mutex>

namespace kestrova::robustness {

namespace {

constexpr std::size_t kKeptLogLines = 8;
// How long a stopped run may take to end before the process gives up on it.
constexpr std::chrono::seconds kStopGrace{20};

// The engine's log lines of one run, the last few kept for the report of a fault.
class TLogTail {
public:
    TLogTail() {
        TFFLogger& logger = TFFLogger::Instance();
        logger.TriggerEventInMainThread = false;
        logger.OnLog = [this](const void*, uint32_t, TLogLevel, const std::string& text) {
            std::lock_guard guard(FLock);
            FLines.push_back(text);
            if (FLines.size() > kKeptLogLines) FLines.pop_front();
        };
    }
    ~TLogTail() { TFFLogger::Instance().OnLog = nullptr; }
    TLogTail(const TLogTail&) = delete;
    TLogTail& operator=(const TLogTail&) = delete;

    std::vector<std::string> Lines() {
        std::lock_guard guard(FLock);
        return {FLines.begin(), FLines.end()};
    }

private:
    std::mutex FLock;
    std::deque<std::string> FLines;
};

// Counts the terminate notices, which come on the worker.
class TNoticeWait {
public:
    void Notice() {
        std::lock_guard guard(FLock);
        ++FNotices;
        FChanged.notify_all();
    }
    bool WaitFor(std::chrono::seconds limit) {
        std::unique_lock lock(FLock);
        return FChanged.wait_for(lock, limit, [this] { return FNotices > 0; });
    }
    int Notices() {
        std::lock_guard guard(FLock);
        return FNotices;
    }

private:
    std::mutex FLock;
    std::condition_variable FChanged;
    int FNotices = 0;
};

// Adds the input, the options and the output; false with the result filled in when the job
// refuses one of them.
bool Prepare(TCustomFFmpeg& job, const TConversion& conversion, TConversionResult& result) {
    const auto refuse = [&result](TOutcome outcome, const std::string& message) {
        result.Outcome = outcome;
        result.Message = message;
        return false;
    };
    if (!job.AddInputFile(conversion.Input)) return refuse(TOutcome::InputRefused, job.LastError());
    for (const auto& [name, value] : conversion.Options) {
        try {
            job.ApplyOption(name, value);
        } catch (const FFmpegException& error) {
            return refuse(TOutcome::OptionRefused, error.what());
        }
    }
    if (job.AddOutputFile(conversion.Output, false) <= 0)
        return refuse(TOutcome::OutputRefused, job.LastError());
    return true;
}

TOutcome EndOf(const TRunState& state) {
    if (state.FinishedNormally) return TOutcome::Converted;
    return state.Failed ? TOutcome::Failed : TOutcome::Unfinished;
}

// A valid output opens with the engine's probe and holds a stream; a video stream the run
// encoded gives its first picture (a copy carries the input's pictures, decodable or not).
std::string OutputFault(const std::string& output, bool encoded) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(output, error)) return "the run finished but made no output";
    TAVProbe probe;
    if (!probe.LoadFile(output)) return "the output does not open: " + probe.LastErrMsg();
    if (probe.StreamCount() <= 0) return "the output holds no stream";
    if (encoded && probe.VideoStreamCount() > 0 && !probe.DecodeNextFrame())
        return "the output's video gives no picture: " + probe.LastErrMsg();
    return {};
}

}  // namespace

const char* OutcomeName(TOutcome outcome) {
    switch (outcome) {
        case TOutcome::InputRefused:
            return "input refused";
        case TOutcome::OptionRefused:
            return "option refused";
        case TOutcome::OutputRefused:
            return "output refused";
        case TOutcome::Converted:
            return "converted";
        case TOutcome::Failed:
            return "failed";
        case TOutcome::Unfinished:
            return "unfinished";
        case TOutcome::Hung:
            return "hung";
    }
    return "unknown";
}

TConversionResult RunGuarded(const TConversion& conversion, std::chrono::seconds limit) {
    TLogTail log;
    TNoticeWait notices;  // before the job: its worker may call it until the job has gone
    TConversionResult result;
    TCustomFFmpeg job;
    job.OnTerminate = [&notices](TCustomFFmpeg&) { notices.Notice(); };
    if (Prepare(job, conversion, result)) {
        if (TConvertThread* worker = job.StartConvert(true)) worker->Resume();
        if (notices.WaitFor(limit)) {
            result.Outcome = EndOf(job.RunState());
            result.Message = job.RunState().FailureText;
        } else {
            job.StopConvert(false);
            if (!notices.WaitFor(kStopGrace)) {
                std::cerr << "robustness: a hung run did not end after its stop; giving up on "
                          << conversion.Input << std::endl;
                std::abort();
            }
            result.Outcome = TOutcome::Hung;
            result.Message = job.RunState().FailureText;
        }
    }
    result.Notices = notices.Notices();
    result.LastLogLines = log.Lines();
    return result;
}

std::string Fault(const TConversion& conversion, const TConversionResult& result) {
    std::error_code error;
    switch (result.Outcome) {
        case TOutcome::Hung:
            return "the run did not end within its time limit (stopped through the job's stop path)";
        case TOutcome::Unfinished:
            return "the run ended neither finished nor failed";
        case TOutcome::Converted:
            if (result.Notices != 1) return std::to_string(result.Notices) + " terminate notices";
            return OutputFault(conversion.Output, !conversion.StreamCopy);
        case TOutcome::Failed:
            if (result.Notices != 1) return std::to_string(result.Notices) + " terminate notices";
            if (std::filesystem::exists(conversion.Output, error) &&
                std::filesystem::file_size(conversion.Output, error) == 0)
                return "the failed run left an empty output behind";
            [[fallthrough]];
        case TOutcome::InputRefused:
        case TOutcome::OptionRefused:
        case TOutcome::OutputRefused:
            return result.Message.empty() ? "refused or failed without a message" : std::string();
    }
    return "unknown outcome";
}

}  // namespace kestrova::robustness
