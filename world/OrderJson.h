#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "world/Order.h"

// An order as a replay line and a versus message carry it (docs/replays.md, "An order").
nlohmann::ordered_json orderAsJson(const Order& order);

// Reads one order, checking every field for its type and range and refusing fields its kind
// does not carry; on a fault returns false and sets `error` to one line. Like a replay's
// orders, it is not checked against a battle here: see orderProblem.
bool readOrderJson(const nlohmann::json& item, std::string& error, Order& order);

// Whether the JSON text's brackets nest at most `most` deep, looked at before a document is
// built of it: millions of brackets would take seconds and hundreds of megabytes to parse.
bool nestsNoDeeperThan(std::string_view text, int most);
