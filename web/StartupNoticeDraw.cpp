#include "app/StartupNotice.h"

// The page's files are packed into it, so they cannot go missing; emscripten's GLUT has no
// bitmap font to say so with either.
void drawStartupNotice(const std::vector<std::string>&) {}
