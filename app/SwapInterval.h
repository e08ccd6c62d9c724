#pragma once

// Asks the driver, where it offers it, to swap buffers at most once per vertical refresh of
// the current window, so a fast machine does not draw frames no screen shows.
void requestSwapPerRefresh();
