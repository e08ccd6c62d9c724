// Plays arbitrary bytes at the server's rooms as a few connections' messages: openings,
// joinings, turns sound and broken, closings and the clock's ticks. Whatever they send, every
// delivery goes to a connection that was there, reads as a server message, and a closing
// carries a one-line reason after which the connection hears nothing more: a broken rule
// aborts, so the fuzzer keeps the input.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "QuietStart.h"
#include "net/Host.h"
#include "world/Replay.h"

namespace {

constexpr int kMostConnections = 6;
constexpr std::size_t kMostMessageBytes = 2048;

std::string& mapText() {
    static std::string text;
    return text;
}

[[noreturn]] void stop(const std::string& why) {
    std::fprintf(stderr, "%s\n", why.c_str());
    std::abort();
}

// The input, read a byte or a run of bytes at a time; past its end, zeros.
class Bytes {
public:
    Bytes(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool done() const { return at_ >= size_; }
    uint8_t next() { return at_ < size_ ? data_[at_++] : 0; }
    std::string run(std::size_t most) {
        const std::size_t length = std::min<std::size_t>(next() | next() << 8, most);
        const std::size_t taken = std::min(length, size_ - std::min(at_, size_));
        std::string text(reinterpret_cast<const char*>(data_ + at_), taken);
        at_ += taken;
        return text;
    }

private:
    const uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

struct Connections {
    std::vector<Host::ConnectionId> open;
    std::set<Host::ConnectionId> closed;  // by the server: nothing more may reach them
    std::vector<int64_t> nextTurn;        // what each would send next, as a sound player does
    std::string lastRoom;
    Host::ConnectionId nextId = 1;
};

void check(Host& host, Connections& connections, Host::ConnectionId everMade) {
    for (const Host::Delivery& delivery : host.takeDeliveries()) {
        if (delivery.to == 0 || delivery.to >= everMade) {
            stop("a delivery to connection " + std::to_string(delivery.to) + ", never made");
        }
        if (connections.closed.contains(delivery.to)) {
            stop("a delivery to connection " + std::to_string(delivery.to) + " after its closing");
        }
        std::string error;
        const std::optional<ServerMessage> message = readServerMessage(delivery.text, error);
        if (!message) {
            stop("a delivery that does not read: " + error + ": " + delivery.text);
        }
        if (message->kind == ServerMessage::Kind::RoomOpened) {
            connections.lastRoom = message->opened.room;
        }
        if (delivery.close) {
            if (delivery.reason.empty() || delivery.reason.find('\n') != std::string::npos) {
                stop("a closing reason that is not one line: '" + delivery.reason + "'");
            }
            connections.closed.insert(delivery.to);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    startQuietly();
    std::ifstream in(DROMLIN_ASSETS_DIR "/map1.txt", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    mapText() = text.str();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    uint64_t random = 1;
    Host::Settings settings;
    settings.map = mapText();
    settings.mapName = "map1.txt";
    settings.randomBits = [&random] { return random = random * 6364136223846793005ull + 1; };
    settings.openReplay = [](const std::string&) { return std::make_unique<std::ostringstream>(); };
    Host host(settings);
    if (!host.ready()) {
        stop("the shipped map does not load: " + host.problem());
    }
    Connections connections;
    Bytes bytes(data, size);
    int64_t now = 0;
    for (int action = 0; action < 256 && !bytes.done(); ++action) {
        const uint8_t what = bytes.next();
        const std::size_t who =
            connections.open.empty() ? 0 : bytes.next() % connections.open.size();
        const Host::ConnectionId id = connections.open.empty() ? 0 : connections.open[who];
        switch (what % 7) {
            case 0:
                if (connections.open.size() < kMostConnections) {
                    connections.open.push_back(connections.nextId);
                    connections.nextTurn.push_back(kDelayTurns);
                    host.connected(connections.nextId++, "http://127.0.0.1:8080", now);
                }
                break;
            case 1:
                host.received(id, bytes.run(kMostMessageBytes), now);
                break;
            case 2:
                host.received(id,
                              helloMessage({kProtocolVersion, gameVersion(),
                                            what & 0x80 ? connections.lastRoom : ""}),
                              now);
                break;
            case 3: {
                // A turn as a sound player sends it, with a hash of few values so that the two
                // agree as often as they differ.
                const std::size_t at = connections.open.empty() ? 0 : who;
                const int64_t turn =
                    connections.nextTurn.empty() ? kDelayTurns : connections.nextTurn[at]++;
                host.received(id, playerTurnMessage({turn, {}, bytes.next() % 2u}), now);
                break;
            }
            case 4:
                if (!connections.open.empty()) {
                    host.disconnected(id, now);
                    connections.open.erase(connections.open.begin() + static_cast<long>(who));
                    connections.nextTurn.erase(connections.nextTurn.begin() +
                                               static_cast<long>(who));
                }
                break;
            default:
                now += bytes.next() * 100;
                host.tick(now);
                break;
        }
        check(host, connections, connections.nextId);
    }
    if (host.rooms() > host.connections()) {
        stop("more rooms than connections");
    }
    return 0;
}
