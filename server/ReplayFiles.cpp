#include "ReplayFiles.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <system_error>

#include "base/Problem.h"

std::string replayFileName(int64_t unixSeconds, const std::string& room) {
    const std::time_t time = static_cast<std::time_t>(unixSeconds);
    std::tm parts{};
    gmtime_r(&time, &parts);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &parts);
    return "versus-" + std::string(stamp) + "-" + room + ".jsonl";
}

std::function<std::unique_ptr<std::ostream>(const std::string& room)> replayOpener(
    const std::filesystem::path& folder) {
    return [folder](const std::string& room) -> std::unique_ptr<std::ostream> {
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        const std::filesystem::path file =
            folder /
            replayFileName(std::chrono::duration_cast<std::chrono::seconds>(now).count(), room);
        auto out = std::make_unique<std::ofstream>(file, std::ios::binary);
        if (!*out) {
            reportProblem("dromlin-server: cannot write the replay " + file.string() +
                          (error ? ": " + error.message() : std::string()));
            return nullptr;
        }
        return out;
    };
}
