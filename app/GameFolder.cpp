#include "app/GameFolder.h"

#include <system_error>

namespace {

GameFolderSearch& lastSearch() {
    static GameFolderSearch search;
    return search;
}

bool holdsMark(const std::filesystem::path& folder) {
    std::error_code error;
    return !folder.empty() && std::filesystem::is_regular_file(folder / kGameFolderMark, error);
}

std::vector<GameFolderSearch::Place> placesToLook(const std::filesystem::path& workingFolder) {
    std::vector<GameFolderSearch::Place> places{{workingFolder, "the working folder"}};
    const std::filesystem::path own = executableFolder();
    if (!own.empty()) {
        places.push_back({own, "the game's own folder"});
    }
#ifdef DROMLIN_BUILD_ASSETS
    // Only the build tree's own binary: a copy installed or moved elsewhere must not quietly
    // read a source tree that happens to still be there.
    std::error_code error;
    if (!own.empty() && std::filesystem::equivalent(own, DROMLIN_BUILD_FOLDER, error)) {
        places.push_back({DROMLIN_BUILD_ASSETS, "the pictures the game was built with"});
    }
#endif
    return places;
}

}  // namespace

GameFolderSearch searchGameFolder(const std::vector<GameFolderSearch::Place>& places,
                                  const std::filesystem::path& workingFolder) {
    GameFolderSearch search;
    search.looked = places;
    search.chosen = workingFolder;
    for (const GameFolderSearch::Place& place : places) {
        if (holdsMark(place.folder)) {
            search.chosen = place.folder;
            search.found = true;
            break;
        }
    }
    return search;
}

// Changing into the folder, rather than naming every file from it, keeps the files' names
// exactly as the catalogue and the map loader write them, on every platform, and so keeps
// the start-up lines on standard output as they were.
const GameFolderSearch& enterGameFolder() {
    static const bool entered = [] {
        std::error_code error;
        const std::filesystem::path working = std::filesystem::current_path(error);
        GameFolderSearch search = searchGameFolder(placesToLook(working), working);
        if (search.found && search.chosen != working) {
            std::filesystem::current_path(search.chosen, error);
            if (error) {
                search.chosen = working;
                search.found = false;
            }
        }
        lastSearch() = std::move(search);
        return true;
    }();
    (void)entered;
    return lastSearch();
}

const GameFolderSearch& gameFolderSearch() {
    return lastSearch();
}
