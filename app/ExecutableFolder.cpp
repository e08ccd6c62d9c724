#include <system_error>

#include "app/GameFolder.h"

// Linux names the running executable in /proc, whatever folder the game was started from.
std::filesystem::path executableFolder() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : executable.parent_path();
}
