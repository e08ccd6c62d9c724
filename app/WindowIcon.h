#pragma once

// Gives the game's window the game's icon, for its title bar and the task bar, where the
// platform does not take it from the program itself.
void setWindowIcon();
