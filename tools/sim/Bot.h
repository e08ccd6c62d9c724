#pragma once

#include <optional>
#include <random>

#include "Options.h"
#include "Runner.h"
#include "world/Order.h"

class MessageLink;
struct World;

// Exit statuses of a bot besides the runner's: the server not reached or lost, a refusal, a
// full room, hashes that differed, a server that said nothing for 10 s, and a battle the server
// ended for another reason.
constexpr int kExitUnreachable = 4;
constexpr int kExitRefused = 5;
constexpr int kExitRoomFull = 6;
constexpr int kExitOutOfSync = 7;
constexpr int kExitStalled = 8;
constexpr int kExitEnded = 9;

// Plays the options' battle as a player of a server's room (`connect`): the battle is the one
// the server starts, stepped as the runner steps it, with random orders for its own team. Hands
// out state lines as the runner does; problems go out as one line through reportProblem.
// Builds without the network define it to refuse.
int runBot(const RunOptions& options, const LineSink& emit);

// The same over a link already opened.
int playBot(const RunOptions& options, MessageLink& link, const LineSink& emit);

// One order a player of `team` may give (versusOrderProblem): a soldier's order for a random
// share of its living soldiers. None when it has none left.
std::optional<Order> randomOrder(const World& world, int team, std::mt19937& random);
