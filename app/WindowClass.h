#pragma once

// Names the game's window with the class its desktop entry announces (StartupWMClass), so a
// dock or task bar groups the window with the menu entry's icon.
void nameWindowClass();
