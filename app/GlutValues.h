#pragma once

// The numbers GLUT hands the states for the mouse: GameState::mouseButton's button and
// state, and the modifier bits of ZOL_MainState's reader. Written out here so that the states,
// their tests and the tools can name them without GLUT's header, which brings GL (and on
// Windows windows.h) with it; app/GlutCallbacks.cpp holds them against that header.
namespace mouse {
constexpr int kLeft = 0;
constexpr int kMiddle = 1;
constexpr int kRight = 2;
constexpr int kPress = 0;
constexpr int kRelease = 1;
constexpr int kShift = 1;
constexpr int kCtrl = 2;
constexpr int kAlt = 4;
}  // namespace mouse

// GLUT hands keys over as their character codes; Esc has none that can be written.
namespace keys {
constexpr int kEscape = 27;
}  // namespace keys
