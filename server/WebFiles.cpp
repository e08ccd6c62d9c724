#include "WebFiles.h"

#include <algorithm>
#include <system_error>
#include <vector>

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// The path of a target, percent-decoded, or nothing when it holds a byte no file name of the
// page has (controls, a backslash, a NUL).
std::optional<std::string> decodedPath(std::string_view target) {
    target = target.substr(0, target.find_first_of("?#"));
    std::string path;
    for (std::size_t at = 0; at < target.size(); ++at) {
        char c = target[at];
        if (c == '%') {
            if (at + 2 >= target.size()) {
                return std::nullopt;
            }
            const int high = hexDigit(target[at + 1]);
            const int low = hexDigit(target[at + 2]);
            if (high < 0 || low < 0) {
                return std::nullopt;
            }
            c = static_cast<char>(high * 16 + low);
            at += 2;
        }
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f || c == '\\') {
            return std::nullopt;
        }
        path += c;
    }
    return path;
}

}  // namespace

std::string webContentType(const std::filesystem::path& path) {
    static const std::pair<const char*, const char*> kTypes[] = {
        {".html", "text/html; charset=utf-8"},
        {".js", "text/javascript; charset=utf-8"},
        {".wasm", "application/wasm"},
        {".data", "application/octet-stream"},
        {".css", "text/css; charset=utf-8"},
        {".png", "image/png"},
        {".ico", "image/x-icon"},
        {".json", "application/json"},
        {".txt", "text/plain; charset=utf-8"},
    };
    const std::string extension = path.extension().string();
    for (const auto& [known, type] : kTypes) {
        if (extension == known) {
            return type;
        }
    }
    return {};
}

std::optional<WebFile> findWebFile(const std::filesystem::path& root, std::string_view target) {
    const std::optional<std::string> path = decodedPath(target);
    if (root.empty() || !path || path->empty() || path->front() != '/') {
        return std::nullopt;
    }
    // Every part is a plain name: no "..", no ".", no empty part between slashes.
    std::filesystem::path relative;
    std::size_t start = 1;
    while (start <= path->size()) {
        std::size_t end = path->find('/', start);
        if (end == std::string::npos) {
            end = path->size();
        }
        const std::string part = path->substr(start, end - start);
        if (part == "." || part == ".." || (part.empty() && end != path->size())) {
            return std::nullopt;
        }
        if (!part.empty()) {
            relative /= part;
        }
        start = end + 1;
    }
    if (relative.empty()) {
        relative = "index.html";
    }
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::canonical(root, error);
    if (error) {
        return std::nullopt;
    }
    const std::filesystem::path file = std::filesystem::canonical(folder / relative, error);
    if (error || !std::filesystem::is_regular_file(file, error)) {
        return std::nullopt;
    }
    // A link inside the folder may lead out of it.
    if (std::mismatch(folder.begin(), folder.end(), file.begin(), file.end()).first !=
        folder.end()) {
        return std::nullopt;
    }
    std::string type = webContentType(file);
    if (type.empty()) {
        return std::nullopt;
    }
    return WebFile{file, std::move(type)};
}
