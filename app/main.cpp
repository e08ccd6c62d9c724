#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/RenderState.h"
#include "app/dromlin1App.h"
#include "gfx/ImageLoader.h"
#include "gfx/Texture.h"
#include "play/ZOL_MainState.h"

namespace {

constexpr const char* kTitle = "Dromlin_01";
constexpr int kWindowWidth = 1024;
constexpr int kWindowHeight = 768;

bool loadFromFile(oglTexture2D& texture, const std::string& path, int width, int height) {
    return texture.loadImage(path, width, height);
}

// With DROMLIN_STEP_COUNT naming a file, the game keeps in it the number of steps the battle
// has run, for tests that measure its pace from outside: the frames drawn no longer tell, since
// an unchanged picture is not drawn again. (The web page answers dromlin_steps instead.)
class StepCountingGame : public dromlin1App {
public:
    StepCountingGame(int& argc, char** argv, const char* countFile)
        : dromlin1App(argc, argv, kTitle, kWindowWidth, kWindowHeight), path(countFile) {}

    void idle() override {
        dromlin1App::idle();
        if (stepsTaken() != written) {
            write();
        }
    }

private:
    // Written beside the file and renamed over it, so a reader never sees it half written.
    void write() {
        const std::string fresh = path + ".new";
        std::FILE* const file = std::fopen(fresh.c_str(), "w");
        if (file == nullptr) {
            return;
        }
        written = stepsTaken();
        std::fprintf(file, "%lld\n", static_cast<long long>(written));
        std::fclose(file);
        std::rename(fresh.c_str(), path.c_str());
    }

    const std::string path;
    int64_t written = -1;
};

}  // namespace

int main(int argc, char** argv) {
    // Both must be in place before the application creates the catalogue and the battle.
    setImageLoader(loadFromFile);
    ZOL_MainState::setModifierReader(glutGetModifiers);

    const char* const stepCountFile = std::getenv("DROMLIN_STEP_COUNT");
    theApp = stepCountFile != nullptr
                 ? new StepCountingGame(argc, argv, stepCountFile)
                 : new dromlin1App(argc, argv, kTitle, kWindowWidth, kWindowHeight);
    registerCallbacks();
    setFixedRenderState();
    return theApp->run();
}
