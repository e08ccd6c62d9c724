#pragma once

#include <filesystem>
#include <string>
#include <vector>

// The folder the game reads its map, pictures and fonts from. Every file the game opens is
// named relative to it, so the game changes into it once, before anything is loaded.
struct GameFolderSearch {
    struct Place {
        std::filesystem::path folder;
        std::string what;  // how the window names it to the player
    };
    std::vector<Place> looked;     // in the order they were tried
    std::filesystem::path chosen;  // the working folder when none held the map
    bool found = false;
};

// The file whose presence marks the game's folder.
inline constexpr char kGameFolderMark[] = "map1.txt";

// The first place that holds the mark; with none, the working folder, unchanged.
GameFolderSearch searchGameFolder(const std::vector<GameFolderSearch::Place>& places,
                                  const std::filesystem::path& workingFolder);

// The working folder, then the executable's, then (for the build tree's own binary) the
// pictures folder it was built with; changes into the first that holds the map. Runs the search
// once: later calls return what the first found.
const GameFolderSearch& enterGameFolder();

// What enterGameFolder found; empty when the game did not look (the page, the tests).
const GameFolderSearch& gameFolderSearch();

// The folder of the running executable; empty where it cannot be known.
std::filesystem::path executableFolder();
