#include "fuzz_support.h"

#include <fstream>
#include <string>
#include <system_error>

#include <unistd.h>

#include "base/random_source.h"
#include "base/sim_clock.h"

namespace sps::fuzz {

void resetClockAndRandom() {
    SimClock& clock = simClock();
    clock.switchToAutomatic();
    while (clock.canFaster()) clock.faster();
    clock.switchToManual();
    seedRandom(1);
}

namespace {

// Removed with everything in it when the process ends.
struct ScratchFolder {
    ScratchFolder() : path(std::filesystem::temp_directory_path() / ("sps_fuzz_" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(path);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::filesystem::path path;
};

} // namespace

const std::filesystem::path& scratchFolder() {
    static const ScratchFolder folder;
    return folder.path;
}

void writeFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

} // namespace sps::fuzz
