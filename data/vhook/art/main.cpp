// Draws the hook modules' pictures into a folder: vhook-art <folder>.
#include "data/vhook/art/ArtPieces.h"
#include "data/vhook/art/BmpWriter.h"

#include <cstdio>
#include <string>

namespace {

bool Write(const std::string& folder, const char* name, const kestrova::vhook::art::TArtCanvas& canvas) {
    const std::string path = folder + "/" + name;
    if (kestrova::vhook::art::WriteBmpFile(path, canvas.Width(), canvas.Height(), canvas.ToRgba()))
        return true;
    std::fprintf(stderr, "vhook-art: cannot write %s\n", path.c_str());
    return false;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fputs("usage: vhook-art <output folder>\n", stderr);
        return 2;
    }
    using namespace kestrova::vhook::art;
    const std::string folder = argv[1];
    const bool written = Write(folder, "watermark.bmp", DrawWatermark()) &&
                         Write(folder, "VantelHook.bmp", DrawDemoTile()) &&
                         Write(folder, "imlib2.bmp", DrawPostcard());
    return written ? 0 : 1;
}
