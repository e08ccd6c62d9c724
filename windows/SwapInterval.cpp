#include "app/SwapInterval.h"

#include <windows.h>

// Windows' form of the swap interval: WGL_EXT_swap_control. A driver that does not offer the
// extension gives no entry point for it, and the game then swaps as fast as it draws.
void requestSwapPerRefresh() {
    if (wglGetCurrentContext() == nullptr) {
        return;
    }
    using SwapEXT = BOOL(WINAPI*)(int);
    // Through the one function type that converts to any other without a warning.
    const auto entry = reinterpret_cast<void (*)()>(wglGetProcAddress("wglSwapIntervalEXT"));
    if (entry != nullptr) {
        reinterpret_cast<SwapEXT>(entry)(1);
    }
}
