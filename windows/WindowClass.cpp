#include "app/WindowClass.h"

// Windows groups a program's windows on the task bar by the program itself.
void nameWindowClass() {}
