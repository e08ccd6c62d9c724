#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/VersusPlay.h"
#include "app/dromlin1App.h"

// The game's window and battle against another player through a server: the link is read
// every frame, never waited on, and the battle steps as the lockstep lets it, with what the
// player must know (the room to share, a wait, the end) written over it.
class VersusApp : public dromlin1App {
public:
    VersusApp(int& argc, char** argv, const char* title, int width, int height,
              std::unique_ptr<MessageLink> link, VersusPlay::Settings settings);

    const VersusPlay& versus() const { return *play; }

protected:
    int runDueSteps() override;
    bool overlayChanged() override;
    void drawOverlay() override;

private:
    std::unique_ptr<VersusPlay> play;
    std::vector<std::string> shownLines;
};

// Lines in GLUT's bitmap font on a dark strip below the banner, which needs no picture file.
void drawScreenLines(const std::vector<std::string>& lines);
