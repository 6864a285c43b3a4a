// Writes the starter macro library: one .kmk file per footprint.
//
//   make_macros [folder]     (default: examples/Makros of the source tree)

#include "StarterMacros.h"
#include "model/FileIO.h"

#include <cstdio>
#include <filesystem>
#include <string>

int main(int argc, char** argv)
{
    using namespace kestrel;
    const std::string folder = argc > 1 ? argv[1] : std::string(KESTREL_SOURCE_DIR) + "/examples/Makros";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    size_t count = 0;
    for (StarterMacro& macro : starterMacros()) {
        const Status written =
            writeFileAtomically(folder + "/" + macro.fileName, starterMacroBytes(macro), Language::English);
        if (!written) {
            std::fprintf(stderr, "%s\n", written.message().c_str());
            return 1;
        }
        ++count;
    }
    std::printf("%s: %zu macros\n", folder.c_str(), count);
    return 0;
}
