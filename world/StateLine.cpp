#include "world/StateLine.h"

#include <cmath>
#include <cstdio>
#include <unordered_map>

#include "ai/Entity.h"
#include "world/Bullet.h"
#include "world/World.h"

namespace {

using Ids = std::unordered_map<const Entity*, int>;

Ids rosterIds(const World& world) {
    Ids ids;
    for (std::size_t i = 0; i < world.roster.size(); ++i) {
        ids.emplace(world.roster[i].get(), static_cast<int>(i));
    }
    return ids;
}

bool isListed(const World& world, const Entity* entity) {
    for (const Entity* listed : world.entities) {
        if (listed == entity) {
            return true;
        }
    }
    return false;
}

int idOf(const Ids& ids, const Entity* entity) {
    const auto found = ids.find(entity);
    return found == ids.end() ? -1 : found->second;
}

const char* boolText(bool value) {
    return value ? "true" : "false";
}

void appendEntity(std::string& out, const World& world, const Ids& ids, const Entity& e) {
    const int weapon = e.currentWeapon != nullptr ? e.currentWeapon->kind : -1;
    const int primaryRounds = e.primaryWeapon != nullptr ? e.primaryWeapon->rounds : 0;
    const int secondaryRounds = e.secondaryWeapon != nullptr ? e.secondaryWeapon->rounds : 0;
    out += "{\"id\": " + std::to_string(idOf(ids, &e));
    out += ", \"team\": " + std::to_string(e.team);
    out += ", \"x\": " + formatDouble(e.x);
    out += ", \"y\": " + formatDouble(e.y);
    out += ", \"health\": " + std::to_string(e.health);
    out += ", \"state\": " + std::to_string(e.state);
    out += ", \"action\": " + std::to_string(e.action);
    out += ", \"goal\": [" + formatDouble(e.goalX) + ", " + formatDouble(e.goalY) + "]";
    out += ", \"target\": " + std::to_string(idOf(ids, e.target));
    out += ", \"weapon\": " + std::to_string(weapon);
    out += ", \"rounds\": [" + std::to_string(primaryRounds) + ", " +
           std::to_string(secondaryRounds) + "]";
    out += ", \"spare\": [" + std::to_string(e.spareRounds[0]) + ", " +
           std::to_string(e.spareRounds[1]) + ", " + std::to_string(e.spareRounds[2]) + "]";
    out += ", \"listed\": ";
    out += boolText(isListed(world, &e));
    out += "}";
}

void appendBullet(std::string& out, const Bullet& bullet) {
    out += "{\"x\": " + formatDouble(bullet.x);
    out += ", \"y\": " + formatDouble(bullet.y);
    out += ", \"active\": ";
    out += boolText(bullet.active);
    out += ", \"kind\": " + std::to_string(bullet.kind) + "}";
}

char digitOf(int32_t value) {
    return value >= 0 && value <= 9 ? static_cast<char>('0' + value) : '?';
}

void appendKnownTiles(std::string& out, const char* key, const Grid<int32_t>& known) {
    out += ", \"";
    out += key;
    out += "\": [";
    for (int y = 0; y < known.rows(); ++y) {
        out += y == 0 ? "\"" : ", \"";
        for (int x = 0; x < known.columns(); ++x) {
            out += digitOf(known[x][y]);
        }
        out += "\"";
    }
    out += "]";
}

}  // namespace

std::string formatDouble(double value) {
    if (!std::isfinite(value)) {
        return "null";
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

std::string stateLine(const World& world, int step, int32_t time, bool withKnownTiles) {
    const Ids ids = rosterIds(world);
    std::string out = "{\"step\": " + std::to_string(step) + ", \"time\": " + std::to_string(time);
    out += ", \"entities\": [";
    for (std::size_t i = 0; i < world.roster.size(); ++i) {
        out += i == 0 ? "" : ", ";
        appendEntity(out, world, ids, *world.roster[i]);
    }
    out += "], \"bullets\": [";
    for (std::size_t i = 0; i < world.bullets.size(); ++i) {
        out += i == 0 ? "" : ", ";
        appendBullet(out, *world.bullets[i]);
    }
    out += "]";
    if (withKnownTiles) {
        appendKnownTiles(out, "red_known", world.redKnownTiles);
        appendKnownTiles(out, "blue_known", world.blueKnownTiles);
    }
    out += "}";
    return out;
}
