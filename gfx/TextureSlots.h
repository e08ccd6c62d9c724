#pragma once

// Slots of the resource catalogue's textures that the game draws. The slot numbers are fixed:
// every part of the game names its pictures by them.
namespace slot {
constexpr int BaseTile = 16;
constexpr int ObstacleTile = 17;
constexpr int NullTile = 18;
constexpr int EntityBlue = 21;
constexpr int EntityRed = 23;
constexpr int EntitySelected = 25;
constexpr int EntityTarget = 26;
constexpr int SelectionLine = 27;
constexpr int EntityTargetEntity = 28;
constexpr int RedPath = 29;
constexpr int BluePath = 30;
constexpr int RedBanner = 31;
constexpr int BlueBanner = 32;
constexpr int AllBanner = 33;
constexpr int Fog = 34;
constexpr int HealthBack = 35;
constexpr int HealthFill = 36;
constexpr int HealthBorder = 38;
constexpr int EntityDead = 39;
constexpr int BulletOrange = 40;
constexpr int BulletYellow = 41;
constexpr int BulletShotgun = 42;
constexpr int HelpScreen = 43;
constexpr int HelpButton = 44;
}  // namespace slot
