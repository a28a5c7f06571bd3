// kestrova-mediagen: makes deterministic test clips from synthetic pictures and tones.
#include "tools/mediagen/Generator.h"
#include "tools/mediagen/GeneratorOptions.h"

extern "C" {
#include <libavutil/log.h>
}

#include <exception>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    using namespace kestrova::mediagen;
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::cout << UsageText();
        return 0;
    }
    try {
        const TGeneratorOptions options = ParseArguments(args);
        av_log_set_level(options.Verbose ? AV_LOG_INFO : AV_LOG_ERROR);
        Generate(options);
        return 0;
    } catch (const EUsage& error) {
        std::cerr << "kestrova-mediagen: " << error.what() << "\n" << UsageText();
        return 2;
    } catch (const std::exception& error) {
        std::cerr << "kestrova-mediagen: " << error.what() << "\n";
        return 1;
    }
}
