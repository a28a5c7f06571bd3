// How the processor cores are shared among the jobs that run at once, for every way a job is
// run (alone on the command line, or as one of the component's tasks): each of them gets an
// equal share for its codecs, at least one core. How a codec turns its share into threads is
// decided where the codecs open (CodecOpening.cpp).
#include "engine/core/CustomFFmpeg.h"

#include <algorithm>
#include <thread>

namespace kestrova {

void TCustomFFmpeg::ShareCodecCores(int jobsAtOnce) {
    if (FRun.ThreadCountChosen) {
        FState.CodecCores = 0;
        return;
    }
    const int processors = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    FState.CodecCores = std::max(1, processors / std::max(1, jobsAtOnce));
}

}  // namespace kestrova
