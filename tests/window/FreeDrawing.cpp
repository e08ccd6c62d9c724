// Preloaded into the game to make drawing cost nothing: the quads' GL calls do nothing, and
// every buffer swap is counted into the file named by DROMLIN_SWAP_COUNT, so a test can see
// how many frames the game draws when drawing is free. time() says 1, so the game seeds its
// battle alike on every run and the frames counted are those of one and the same battle.
#include <GL/gl.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

extern "C" {

void glBegin(GLenum) {}
void glEnd() {}
void glVertex2i(GLint, GLint) {}
void glVertex2f(GLfloat, GLfloat) {}
void glTexCoord2f(GLfloat, GLfloat) {}
void glDrawArrays(GLenum, GLint, GLsizei) {}

time_t time(time_t* when) {
    if (when != nullptr) {
        *when = 1;
    }
    return 1;
}

void glutSwapBuffers() {
    static long swaps = 0;
    static const auto realSwap = reinterpret_cast<void (*)()>(dlsym(RTLD_NEXT, "glutSwapBuffers"));
    ++swaps;
    // Written beside the file and renamed over it, so a reader never sees it half written.
    if (const char* const path = std::getenv("DROMLIN_SWAP_COUNT")) {
        const std::string written = std::string(path) + ".new";
        if (std::FILE* const file = std::fopen(written.c_str(), "w")) {
            std::fprintf(file, "%ld\n", swaps);
            std::fclose(file);
            std::rename(written.c_str(), path);
        }
    }
    if (realSwap != nullptr) {
        realSwap();
    }
}
}
