#include <windows.h>

#include <vector>

#include "app/GameFolder.h"

// A path longer than the buffer comes back cut off; the buffer grows until it fits, up to
// the longest path Windows knows.
std::filesystem::path executableFolder() {
    constexpr DWORD kLongestPath = 32768;
    for (DWORD size = MAX_PATH; size <= kLongestPath; size *= 2) {
        std::vector<wchar_t> buffer(size);
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), size);
        if (length == 0) {
            return {};
        }
        if (length < size) {
            return std::filesystem::path(std::wstring(buffer.data(), length)).parent_path();
        }
    }
    return {};
}
