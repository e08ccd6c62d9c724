#pragma once

#include <cstdint>
#include <string>

struct World;

// One JSON object on one line describing the battle after a step: every soldier ever created
// (the roster, in creation order) and every bullet in the World's list. With `withKnownTiles`
// the line also carries what each team has discovered, as row strings, one digit per column.
std::string stateLine(const World& world, int step, int32_t time, bool withKnownTiles);

// A double as JSON: round-trip precision (%.17g); NaN and the infinities, which JSON cannot
// express and which the battle never produces, print as null.
std::string formatDouble(double value);
