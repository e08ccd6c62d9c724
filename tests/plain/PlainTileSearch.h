#pragma once

struct Entity;

// A soldier's three tile searches done the plain way: every tile of the map in the scan order,
// each test in the order the rules give them, a ray cast for every tile that gets that far.
// The game's own searches must choose exactly the same tiles.
void plainFindHidingTile(Entity& e, const Entity& threat);
void plainFindFiringPosition(Entity& e);
void plainPickFrontierTile(Entity& e);
