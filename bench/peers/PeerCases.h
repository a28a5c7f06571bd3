#pragma once
// The cases of the peer benchmark: what each side runs (Kestrova's command line first, then
// the peers that can do the same), and the targets Kestrova is held to in each.
#include "bench/peers/ChildRuns.h"

#include <string>
#include <vector>

namespace kestrova::bench {

struct TSide {
    std::string Name;
    std::vector<TCommand> Commands;
    int AtOnce = 1;                    // programs run side by side
    std::vector<std::string> Outputs;  // what the commands write, checked after a round
    bool TargetPeer = false;           // the case's speed target is taken against this side
};

struct TCase {
    std::string Name;
    std::vector<TSide> Sides;   // Sides[0] is Kestrova
    double RatioLimit = 0;      // Kestrova's time over the fastest target peer's, at most; 0: none
    double MinCoresBusy = 0;    // Kestrova's processor seconds over wall seconds, at least; 0: none
    bool MemoryTarget = false;  // Kestrova's peak memory at most every peer's
};

// The programs found: kestrova-cli's path, and whether each peer is installed.
struct TPrograms {
    std::string KestrovaCli;
    bool Ffmpeg = false;
    bool HandBrake = false;
};

// Every case with the sides the installed programs allow; the sources are made by the project's
// generator (once, before anything is timed) and the outputs go below `folder`.
std::vector<TCase> PeerCases(const TPrograms& programs, const std::string& folder);

// A short conversion on every program, so that the first timed run does not read them from disk.
std::vector<TCommand> WarmUpCommands(const TPrograms& programs, const std::string& folder);

}  // namespace kestrova::bench
