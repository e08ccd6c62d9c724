#pragma once

// Slots of the resource catalogue's textures that the game draws. The slot numbers are fixed:
// every part of the game names its pictures by them.
namespace slot {
constexpr int kBaseTile = 16;
constexpr int kObstacleTile = 17;
constexpr int kNullTile = 18;
constexpr int kEntityBlue = 21;
constexpr int kEntityRed = 23;
constexpr int kEntitySelected = 25;
constexpr int kEntityTarget = 26;
constexpr int kSelectionLine = 27;
constexpr int kEntityTargetEntity = 28;
constexpr int kRedPath = 29;
constexpr int kBluePath = 30;
constexpr int kRedBanner = 31;
constexpr int kBlueBanner = 32;
constexpr int kAllBanner = 33;
constexpr int kFog = 34;
constexpr int kHealthBack = 35;
constexpr int kHealthFill = 36;
constexpr int kHealthBorder = 38;
constexpr int kEntityDead = 39;
constexpr int kBulletOrange = 40;
constexpr int kBulletYellow = 41;
constexpr int kBulletShotgun = 42;
constexpr int kHelpScreen = 43;
constexpr int kHelpButton = 44;
}  // namespace slot
