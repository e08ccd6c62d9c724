#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

// Opens a new battle's replay in `folder` (made if missing), named for the time (UTC) and the
// room: versus-20261210-103000-ABCDEFGHJK.jsonl. A file that cannot be made gives no stream and
// one line on standard error; the battle is fought without its replay.
std::function<std::unique_ptr<std::ostream>(const std::string& room)> replayOpener(
    const std::filesystem::path& folder);

// The file name of a replay begun at `unixSeconds` in `room`.
std::string replayFileName(int64_t unixSeconds, const std::string& room);
