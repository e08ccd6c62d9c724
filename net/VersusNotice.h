#pragma once

#include <cstdint>
#include <string>

#include "net/Protocol.h"

// What a player's screen says over a battle against another, alike in the window and on the
// page.
namespace versusNotice {

// A battle that has stood still this long says why.
constexpr int64_t kWaitingShownAfterMs = 500;
// How long the word that the other player left stays over the battle, which goes on.
constexpr int64_t kLeftShownForMs = 5000;

inline constexpr char kWaiting[] = "Waiting for the other player";
inline constexpr char kOtherLeft[] = "The other player left: their soldiers fight on their own";

inline std::string roomLine(const RoomOpened& room) {
    return "Room " + room.room + ": share " + room.link;
}

}  // namespace versusNotice
