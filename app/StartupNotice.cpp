#include "app/StartupNotice.h"

namespace {

std::string picturesLine(const StartupFailures& failures) {
    const size_t missing = failures.missingPictures.size();
    std::string line = std::to_string(missing) + " of " + std::to_string(failures.pictureCount) +
                       " pictures did not load (" + failures.missingPictures.front();
    if (missing > 1) {
        line += " and " + std::to_string(missing - 1) + " more";
    }
    return line + ").";
}

std::string mapLine(const StartupFailures& failures) {
    return std::string("The map ") + kGameFolderMark +
           (failures.mapPresent ? " is there but could not be read." : " is missing.");
}

}  // namespace

std::vector<std::string> startupNoticeLines(const StartupFailures& failures,
                                            const GameFolderSearch& search) {
    if (!failures.any()) {
        return {};
    }
    std::vector<std::string> lines{"Dromlin cannot show the battle."};
    if (!failures.missingPictures.empty()) {
        lines.push_back(picturesLine(failures));
    }
    if (!failures.mapLoaded) {
        lines.push_back(mapLine(failures));
    }
    lines.emplace_back();
    if (!search.looked.empty()) {
        lines.push_back(std::string("It looked for ") + kGameFolderMark + " in:");
        for (const GameFolderSearch::Place& place : search.looked) {
            lines.push_back("    " + place.folder.string() + "  (" + place.what + ")");
        }
    }
    lines.push_back("and read its files from " + search.chosen.string() + ".");
    lines.emplace_back();
    lines.push_back("Put the game's files (map1.txt, the pictures and the fonts folder) in one");
    lines.push_back("of these folders, or start the game from the folder that holds them.");
    lines.push_back("Standard output lists every file that failed.");
    return lines;
}
