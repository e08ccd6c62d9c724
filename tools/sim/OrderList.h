#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "world/Replay.h"

// A plain list of timed orders for a scripted battle, one order a line (docs/replays.md):
//
//     STEP KIND [SOLDIER ...] [to COLUMN ROW | at TARGET | VIEW] [by GIVER]
//
// for example "120 move 0 3 to 12 7 by red". Blank lines and lines from '#' on are skipped;
// the steps never go down, and orders of one step apply in the order of their lines. Reads
// the whole list, grouped by step; on the first fault returns nothing and sets `error` to
// one line naming the line and the fault. Whether the soldiers and tiles exist is the
// battle's to check (orderProblem).
std::optional<std::vector<StepOrders>> readOrderList(std::istream& in, std::string& error);
