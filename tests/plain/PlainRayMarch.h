#pragma once

struct Entity;

// A soldier's three ray marches done the plain way: every point floored and handed to the
// World's own tile queries. The game's marches must give exactly the same answers.
bool plainHasLineOfSight(const Entity& e, double tx, double ty);
bool plainIsFriendInLineOfFire(const Entity& e, double tx, double ty);
bool plainIsLineClear(const Entity& e, double ax, double ay, double bx, double by);
