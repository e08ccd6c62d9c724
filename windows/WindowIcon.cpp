#include "app/WindowIcon.h"

#include <windows.h>

namespace {

// The exe's icon, resource 1 in windows/resources.rc.in.
constexpr int kIconResource = 1;

HICON loadIcon(int width, int height) {
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kIconResource),
                                         IMAGE_ICON, width, height, LR_DEFAULTCOLOR));
}

}  // namespace

// freeglut registers its window class without an icon, so the title bar and the task bar
// would show Windows' blank one; the window that GLUT made current gets the exe's instead.
void setWindowIcon() {
    const HWND window = WindowFromDC(wglGetCurrentDC());
    if (window == nullptr) {
        return;
    }
    if (const HICON big = loadIcon(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON))) {
        SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    }
    if (const HICON small =
            loadIcon(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON))) {
        SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    }
}
