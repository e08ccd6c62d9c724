#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The web build's files as the server hands them out: a request's target names a file beneath
// one folder, and nothing outside it.
struct WebFile {
    std::filesystem::path path;
    std::string contentType;
};

// The file a GET of `target` ("/versus.html?x#y") gives from `root`, or nothing: a target
// that is not a plain path, leaves the folder, names no regular file, or a kind of file the
// page does not use. "/" gives index.html.
std::optional<WebFile> findWebFile(const std::filesystem::path& root, std::string_view target);

// The content type of a file the page uses, by its extension; empty for any other.
std::string webContentType(const std::filesystem::path& path);
