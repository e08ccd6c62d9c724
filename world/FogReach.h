#pragma once

// Tiles from a soldier's tile to the edge of the window in which it lights the fog, along each
// axis: its sight range. At a finer fog, that many tiles' worth of cells.
constexpr int kFogReach = 16;
