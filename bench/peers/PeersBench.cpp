// Kestrova against the converters users would pick instead: Debian's ffmpeg command-line
// program and HandBrakeCLI (bench/peers/install-peers.sh installs them; they are yardsticks,
// never dependencies of Kestrova). Each case runs on Kestrova and on each peer in turn, round
// after round (A B A B), whole processes as a user starts them. The table gives per side the
// median wall time, processor seconds and cores busy (processor over wall seconds), the peak
// memory (wait4's ru_maxrss; for programs run side by side the sum of each slot's peak), the
// median of the per-round ratios Kestrova / side, and whether each target is met. A ratio is
// refused when the outputs' encoder settings differ (OutputCheck.h).
//
//   kestrova_bench_peers [--rounds N] [--only TEXT]
//
// Run it with run-peers.sh: in a session of its own at high priority, at nice 0.
#include "bench/harness/BenchSupport.h"
#include "bench/peers/OutputCheck.h"
#include "bench/peers/PeerCases.h"

#include "engine/frame/FFmpegLoader.h"
#include "engine/frame/FFmpegLogger.h"

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace kestrova;
using namespace kestrova::bench;

struct TOptions {
    int Rounds = 5;
    std::string Only;  // only the cases whose name holds this text
};

TOptions ParseOptions(int argc, char** argv) {
    TOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--rounds" && i + 1 < argc)
            options.Rounds = std::max(1, std::atoi(argv[++i]));
        else if (argument == "--only" && i + 1 < argc)
            options.Only = argv[++i];
        else
            throw std::runtime_error("usage: kestrova_bench_peers [--rounds N] [--only TEXT]");
    }
    return options;
}

std::string LoadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string one, five, fifteen;
    in >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

// Whether this process runs in a session of its own at high priority (run-peers.sh). Its own nice
// value holds for both sides alike: Kestrova's conversion threads set theirs relative to it.
std::string PriorityText() {
    std::ifstream in("/proc/self/autogroup");
    std::string group, word, sessionNice;
    in >> group >> word >> sessionNice;  // "/autogroup-123 nice -20"
    const int own = getpriority(PRIO_PROCESS, 0);
    std::string text = "session nice " + (sessionNice.empty() ? std::string("?") : sessionNice) + ", nice " +
                       std::to_string(own);
    if (!sessionNice.starts_with("-"))
        text += "   NOT high priority: other sessions share the cores (run-peers.sh runs it at high "
                "priority)";
    return text;
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

struct TSideResult {
    std::vector<TSideRun> Rounds;
    std::vector<std::string> Differences;  // against Kestrova's output; empty when alike
    std::string Failure;

    std::vector<double> Values(double (*of)(const TSideRun&)) const {
        std::vector<double> values;
        for (const TSideRun& run : Rounds) values.push_back(of(run));
        return values;
    }
    double PeakMiB() const {
        double peak = 0;
        for (const TSideRun& run : Rounds) peak = std::max(peak, run.PeakAtOnceMiB);
        return peak;
    }
    bool Comparable() const { return Failure.empty() && Differences.empty(); }
};

double WallOf(const TSideRun& run) {
    return run.Wall;
}
double CpuOf(const TSideRun& run) {
    return run.Cpu;
}
double CoresBusyOf(const TSideRun& run) {
    return run.CoresBusy();
}

// Every output of every side against Kestrova's first output: the first difference found.
void CheckOutputs(const TCase& benchCase, std::vector<TSideResult>& results) {
    const std::string& reference = benchCase.Sides.front().Outputs.front();
    for (std::size_t side = 0; side < benchCase.Sides.size(); ++side) {
        for (const std::string& output : benchCase.Sides[side].Outputs) {
            if (output == reference || !results[side].Differences.empty()) continue;
            results[side].Differences = OutputDifferences(reference, output);
        }
    }
}

std::vector<TSideResult> RunCase(const TCase& benchCase, int rounds) {
    std::vector<TSideResult> results(benchCase.Sides.size());
    for (int round = 0; round < rounds; ++round) {
        for (std::size_t side = 0; side < benchCase.Sides.size(); ++side) {
            const TSide& what = benchCase.Sides[side];
            const TSideRun run = RunCommands(what.Commands, what.AtOnce);
            if (!run.Failure.empty() && results[side].Failure.empty()) results[side].Failure = run.Failure;
            results[side].Rounds.push_back(run);
            std::fprintf(stderr, "  round %d/%d  %-32s %7.2f s wall %7.2f s cpu\n", round + 1, rounds,
                         what.Name.c_str(), run.Wall, run.Cpu);
        }
        if (round == 0) CheckOutputs(benchCase, results);
    }
    return results;
}

// Median over the rounds of Kestrova's time over the fastest of `sides` in the same round.
double MedianRatio(const std::vector<TSideResult>& results, const std::vector<std::size_t>& sides) {
    std::vector<double> ratios;
    for (std::size_t round = 0; round < results.front().Rounds.size(); ++round) {
        double fastest = std::numeric_limits<double>::max();
        for (const std::size_t side : sides) fastest = std::min(fastest, results[side].Rounds[round].Wall);
        ratios.push_back(results.front().Rounds[round].Wall / fastest);
    }
    return Median(ratios);
}

void PrintTarget(const std::string& what, const std::string& value, bool judged, bool met, int& judgedCount,
                 int& metCount) {
    std::printf("  target  %-52s %-22s %s\n", what.c_str(), value.c_str(),
                !judged ? "NOT JUDGED"
                : met   ? "met"
                        : "NOT MET");
    judgedCount += judged ? 1 : 0;
    metCount += judged && met ? 1 : 0;
}

std::string Fixed(double value, int decimals = 2) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

void PrintCase(const TCase& benchCase, const std::vector<TSideResult>& results, int& judged, int& met) {
    std::printf("\n%s\n", benchCase.Name.c_str());
    std::printf("  %-34s %8s %8s %11s %9s %16s\n", "side", "wall s", "cpu s", "cores busy", "peak MiB",
                "Kestrova / side");
    for (std::size_t side = 0; side < results.size(); ++side) {
        const TSideResult& result = results[side];
        std::string ratio;
        if (side > 0) ratio = result.Comparable() ? Fixed(MedianRatio(results, {side})) : "refused";
        std::printf("  %-34s %8.2f %8.2f %11.2f %9.1f %16s\n", benchCase.Sides[side].Name.c_str(),
                    Median(result.Values(WallOf)), Median(result.Values(CpuOf)),
                    Median(result.Values(CoresBusyOf)), result.PeakMiB(), ratio.c_str());
    }
    bool alike = results.front().Failure.empty();
    for (std::size_t side = 0; side < results.size(); ++side) {
        const TSideResult& result = results[side];
        if (!result.Failure.empty())
            std::printf("  FAILED  %s: %s\n", benchCase.Sides[side].Name.c_str(), result.Failure.c_str());
        for (const std::string& difference : result.Differences)
            std::printf("  settings differ  %s: %s\n", benchCase.Sides[side].Name.c_str(),
                        difference.c_str());
        alike = alike && result.Comparable();
    }
    if (alike && results.size() > 1)
        std::printf(
                "  settings  alike on every side (x264's settings line but its thread counts, where there "
                "is one; the streams read back)\n");

    std::vector<std::size_t> targetPeers;
    bool targetsComparable = results.front().Comparable();
    for (std::size_t side = 1; side < results.size(); ++side) {
        if (!benchCase.Sides[side].TargetPeer) continue;
        targetPeers.push_back(side);
        targetsComparable = targetsComparable && results[side].Comparable();
    }
    const bool judgeable = targetsComparable && !targetPeers.empty();
    if (benchCase.RatioLimit > 0) {
        std::string against = targetPeers.size() > 1 ? "the faster peer" : "";
        for (const std::size_t side : targetPeers)
            if (targetPeers.size() == 1) against = benchCase.Sides[side].Name;
        const double ratio = judgeable ? MedianRatio(results, targetPeers) : 0;
        PrintTarget("Kestrova / " + against + " at most " + Fixed(benchCase.RatioLimit),
                    judgeable ? Fixed(ratio) : "no comparable peer", judgeable, ratio <= benchCase.RatioLimit,
                    judged, met);
    }
    if (benchCase.MinCoresBusy > 0) {
        const double busy = Median(results.front().Values(CoresBusyOf));
        PrintTarget("Kestrova's cores busy at least " + Fixed(benchCase.MinCoresBusy, 1), Fixed(busy, 3),
                    results.front().Failure.empty(), busy >= benchCase.MinCoresBusy, judged, met);
    }
    if (benchCase.MemoryTarget) {
        double lowestPeer = std::numeric_limits<double>::max();
        for (std::size_t side = 1; side < results.size(); ++side)
            lowestPeer = std::min(lowestPeer, results[side].PeakMiB());
        const bool memoryJudgeable = results.size() > 1 && results.front().Failure.empty();
        const double ours = results.front().PeakMiB();
        PrintTarget("Kestrova's peak memory at most every peer's",
                    memoryJudgeable ? Fixed(ours, 1) + " <= " + Fixed(lowestPeer, 1) + " MiB" : "no peer",
                    memoryJudgeable, ours <= lowestPeer, judged, met);
    }
    std::fflush(stdout);
}

TPrograms FindPrograms() {
    TPrograms programs;
    programs.KestrovaCli = std::string(KESTROVA_PROGRAM_DIR) + "/kestrova-cli";
    programs.Ffmpeg = OnPath("ffmpeg");
    programs.HandBrake = OnPath("HandBrakeCLI");
    return programs;
}

void PrintHeading(const TPrograms& programs, int rounds) {
    std::printf(
            "Kestrova against its peers; rounds: %d, each side in turn (A B A B); medians of the rounds\n",
            rounds);
    std::printf("machine  %u cores, load average %s at the start\n", std::thread::hardware_concurrency(),
                LoadAverage().c_str());
    std::printf("priority %s\n", PriorityText().c_str());
    std::printf("peers    %s; %s\n",
                programs.Ffmpeg ? FirstOutputLine({"ffmpeg", "-version"}).c_str() : "ffmpeg not installed",
                programs.HandBrake ? FirstOutputLine({"HandBrakeCLI", "--version"}).c_str()
                                   : "HandBrakeCLI not installed");
    std::printf(
            "columns  wall s and cpu s (user + system) and cores busy (cpu over wall) are medians of the\n"
            "         rounds; peak MiB is wait4's ru_maxrss, the highest of the rounds (programs run side "
            "by\n"
            "         side: the sum of each slot's peak); Kestrova / side is the median of the per-round "
            "ratios\n");
    if (!programs.Ffmpeg || !programs.HandBrake)
        std::printf("         bench/peers/install-peers.sh installs the missing peers\n");
    std::fflush(stdout);
}

int Run(const TOptions& options) {
    if (!LoadMediaLibraries()) throw std::runtime_error(TFFmpegLoader::Instance().LastError());
    TFFLogger::Instance().OnLog = nullptr;
    const TPrograms programs = FindPrograms();
    PrintHeading(programs, options.Rounds);
    if (!programs.Ffmpeg && !programs.HandBrake) return 0;

    const std::string folder = ScratchDir("peers");
    std::vector<TCase> cases = PeerCases(programs, folder);
    std::erase_if(cases, [&](const TCase& benchCase) {
        return benchCase.Name.find(options.Only) == std::string::npos;
    });
    const TSideRun warmUp = RunCommands(WarmUpCommands(programs, folder), 1);
    if (!warmUp.Failure.empty()) throw std::runtime_error("warm-up: " + warmUp.Failure);

    int judged = 0, met = 0;
    bool failed = false;
    for (const TCase& benchCase : cases) {
        std::fprintf(stderr, "%s\n", benchCase.Name.c_str());
        const std::vector<TSideResult> results = RunCase(benchCase, options.Rounds);
        PrintCase(benchCase, results, judged, met);
        for (const TSideResult& result : results) failed = failed || !result.Failure.empty();
    }
    std::printf("\nload average %s at the end; targets met: %d of %d judged\n", LoadAverage().c_str(), met,
                judged);
    return failed ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(ParseOptions(argc, argv));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kestrova_bench_peers: %s\n", error.what());
        return 2;
    }
}
