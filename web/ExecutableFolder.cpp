#include "app/GameFolder.h"

// The page's files are packed into it at "/", its working folder; there is no executable's
// folder to fall back on.
std::filesystem::path executableFolder() {
    return {};
}
