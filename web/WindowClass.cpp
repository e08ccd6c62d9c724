#include "app/WindowClass.h"

// A page has no window manager to group windows by class.
void nameWindowClass() {}
