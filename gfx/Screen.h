#pragma once

// The game's own screen, in logical pixels: every picture is drawn for it, the projection
// spans it, and the window shows it letterboxed at whatever size the window has.
namespace screen {
constexpr int kWidth = 1024;
constexpr int kHeight = 768;
}  // namespace screen
