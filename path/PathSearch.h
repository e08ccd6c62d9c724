#pragma once

struct Path;

// The route search for a Path just built with its start on the grid and a grid of a sane size:
// fills the waypoints and, when the goal cannot be reached, puts the fallback tile in its goal.
void searchRoute(Path& path);
