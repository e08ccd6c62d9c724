#include "app/SwapInterval.h"

// The browser already draws at most once per refresh: its animation frames drive the game.
void requestSwapPerRefresh() {}
