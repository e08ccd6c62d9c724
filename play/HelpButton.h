#pragma once

// Where the play state draws its help button; a left release with the pointer inside it
// (edges included) opens the help screen.
namespace helpButton {
constexpr int kX = 924;
constexpr int kY = 5;
constexpr int kWidth = 75;
constexpr int kHeight = 50;

constexpr bool contains(int x, int y) {
    return x >= kX && x <= kX + kWidth && y >= kY && y <= kY + kHeight;
}
}  // namespace helpButton
