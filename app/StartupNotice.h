#pragma once

#include <string>
#include <vector>

#include "app/GameFolder.h"

// What went wrong at start-up, for the player who sees only the window.
struct StartupFailures {
    std::vector<std::string> missingPictures;  // in load order
    int pictureCount = 0;
    bool mapLoaded = true;
    bool mapPresent = true;  // the map file exists, so it is broken rather than missing

    bool any() const { return !missingPictures.empty() || !mapLoaded; }
};

// A few plain lines: what failed, where the game looked, and what to do. Empty when nothing
// failed.
std::vector<std::string> startupNoticeLines(const StartupFailures& failures,
                                            const GameFolderSearch& search);

// The lines over a plain background, in GLUT's own bitmap font, which needs no file.
void drawStartupNotice(const std::vector<std::string>& lines);
