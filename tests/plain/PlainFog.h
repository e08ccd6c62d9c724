#pragma once

struct World;

// The fog of war computed the plain way: for every soldier of the team, every cell of its
// 33 x 33 window, a line-of-sight ray first and the distance test after it. The game's own
// computeFog must leave exactly the same fog and discovered tiles.
void plainComputeFog(World& world, int team);
