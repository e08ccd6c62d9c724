#include <GL/freeglut.h>

#include <cctype>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>

#include "app/GameFolder.h"
#include "app/RenderState.h"
#include "app/VersusApp.h"
#include "gfx/ImageLoader.h"
#include "gfx/Screen.h"
#include "gfx/Texture.h"
#include "net/MessageLink.h"
#include "net/Protocol.h"
#include "play/ZOL_MainState.h"

namespace {

// The game's own title, and what this window is for.
constexpr const char* kTitle = "Dromlin_01 - versus";
constexpr const char* kUsage = "usage: dromlin-versus HOST:PORT [CODE]";

bool loadFromFile(oglTexture2D& texture, const std::string& path, int width, int height) {
    return texture.loadImage(path, width, height);
}

// "HOST:PORT" with a port of 1 to 65535; a host of IPv6 is written in brackets.
bool isServerAddress(const std::string& address) {
    const std::size_t colon = address.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == address.size() ||
        address.size() - colon - 1 > 5) {
        return false;
    }
    const std::string port = address.substr(colon + 1);
    if (port.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    const int number = std::stoi(port);
    return number >= 1 && number <= 65535;
}

std::filesystem::path reportFolder() {
    std::error_code error;
    std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    return error ? std::filesystem::path(".") : folder;
}

int usage(const std::string& problem) {
    std::cerr << "dromlin-versus: " << problem << "\n" << kUsage << "\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        std::cout << kUsage << "\n";
        return 0;
    }
    if (argc < 2 || argc > 3) {
        return usage("wants the server's HOST:PORT and, to join a room, its code");
    }
    VersusPlay::Settings settings;
    settings.server = argv[1];
    settings.room = argc == 3 ? argv[2] : "";
    // Codes are written in lower case; one read aloud may be typed in upper.
    for (char& c : settings.room) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (!isServerAddress(settings.server)) {
        return usage("'" + settings.server + "' is not HOST:PORT");
    }
    if (!settings.room.empty() && !isRoomCode(settings.room)) {
        return usage("'" + settings.room + "' is not a room code");
    }
    settings.reportFolder = reportFolder();

    // Every file is named relative to the game's folder, so it is found before anything loads.
    enterGameFolder();
    setImageLoader(loadFromFile);
    ZOL_MainState::setModifierReader(glutGetModifiers);

    // GLUT takes only its own options; the two above are left for us.
    int glutArgc = 1;
    theApp = new VersusApp(glutArgc, argv, kTitle, screen::kWidth, screen::kHeight,
                           openMessageLink(settings.server), settings);
    registerCallbacks();
    setFixedRenderState();
    return theApp->run();
}
