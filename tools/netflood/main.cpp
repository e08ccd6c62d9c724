// dromlin-netflood HOST:PORT --messages N [--seconds S]: bad input at a versus server on this
// machine. Each connection sends one message the server must refuse (malformed, oversized,
// binary, random bytes, an unknown kind, a turn out of order, an order for the other team's
// soldier, too many orders), the last two from a room of its own that it opens and joins, and
// waits for the server to answer or close it. Exits 0 when every connection was answered or
// closed, 1 when one was not, 2 on bad arguments.
#include <chrono>
#include <cstdio>
#include <optional>
#include <random>
#include <sstream>
#include <string>

#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/websocket.hpp>

#include "ai/Entity.h"
#include "net/Protocol.h"
#include "world/Replay.h"
#include "world/World.h"

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace websocket = beast::websocket;
using tcp = asio::ip::tcp;

namespace {

constexpr auto kAnswerTime = std::chrono::seconds(5);
constexpr int kMostMessages = 1000000;

struct Tally {
    int messages = 0;
    int connections = 0;
    int refused = 0;     // a refusal, then the closing with its reason
    int closed = 0;      // closed without a refusal (the WebSocket's own faults)
    int answered = 0;    // answered and left open: the flood closed it
    int unanswered = 0;  // neither within kAnswerTime, or never connected
};

enum class Heard { Message, Closed, Nothing };

// One connection; every wait is bounded.
class Link {
public:
    Link(const tcp::endpoint& server, const std::string& hostPort) : ws_(io_) {
        beast::error_code error;
        beast::get_lowest_layer(ws_).expires_after(kAnswerTime);
        beast::get_lowest_layer(ws_).connect(server, error);
        if (!error) {
            beast::get_lowest_layer(ws_).socket().set_option(tcp::no_delay(true), error);
            ws_.handshake(hostPort, "/play", error);
        }
        open_ = !error;
        ws_.text(true);
    }
    ~Link() {
        beast::error_code ignored;
        beast::get_lowest_layer(ws_).socket().close(ignored);
    }
    bool open() const { return open_; }

    void send(const std::string& text, bool binary = false) {
        ws_.binary(binary);
        beast::error_code ignored;
        ws_.write(asio::buffer(text), ignored);
    }

    Heard next(std::string& text) {
        beast::flat_buffer buffer;
        std::optional<beast::error_code> result;
        ws_.async_read(buffer, [&](beast::error_code error, std::size_t) { result = error; });
        io_.restart();
        io_.run_for(kAnswerTime);
        if (!result) {
            beast::get_lowest_layer(ws_).socket().close();
            io_.restart();
            io_.run_for(std::chrono::seconds(1));
            return Heard::Nothing;
        }
        if (*result) {
            return Heard::Closed;
        }
        text = beast::buffers_to_string(buffer.data());
        return Heard::Message;
    }

private:
    asio::io_context io_;
    websocket::stream<beast::tcp_stream> ws_;
    bool open_ = false;
};

// What the server does with the connection's next messages, up to its closing.
void judge(Link& link, Tally& tally) {
    bool refused = false;
    for (int heard = 0; heard < 4; ++heard) {
        std::string text;
        switch (link.next(text)) {
            case Heard::Message:
                refused = refused || text.rfind("{\"kind\":\"refused\"", 0) == 0;
                break;
            case Heard::Closed:
                ++(refused ? tally.refused : tally.closed);
                return;
            case Heard::Nothing:
                ++(refused ? tally.refused : tally.unanswered);
                return;
        }
    }
    ++tally.answered;
}

std::string randomText(std::mt19937& random, std::size_t most) {
    std::string text(random() % most + 1, ' ');
    for (char& c : text) {
        c = static_cast<char>(random() % 256);
    }
    return text;
}

// Broken JSON: a sound message cut short or with a byte changed.
std::string malformed(std::mt19937& random) {
    std::string text = helloMessage({kProtocolVersion, gameVersion(), {}});
    if (random() % 2 == 0) {
        text.resize(random() % text.size());
    } else {
        text[random() % text.size()] = "{}[]\",:\\"[random() % 8];
        text.insert(0, "{\"x\":");
    }
    return text;
}

std::string orderFor(int soldier, int giverTeam) {
    return "{\"kind\":4,\"giver\":" + std::to_string(1 << giverTeam) + ",\"soldiers\":[" +
           std::to_string(soldier) + "]}";
}

std::string turnWith(int64_t turn, const std::string& orders) {
    return "{\"kind\":\"turn\",\"turn\":" + std::to_string(turn) + ",\"orders\":[" + orders +
           "],\"hash\":\"0000000000000000\"}";
}

// A soldier of `team` on the battle's map, or -1.
int soldierOf(const std::string& map, int team) {
    World world;
    std::istringstream in(map);
    if (!world.loadMap(in, "start")) {
        return -1;
    }
    for (std::size_t id = 0; id < world.roster.size(); ++id) {
        if (world.roster[id]->team == team) {
            return static_cast<int>(id);
        }
    }
    return -1;
}

// Opens and joins a room of its own and sends red's broken turn `kind` (0 out of order, 1 the
// other team's soldier, 2 too many orders).
void roomFlood(const tcp::endpoint& server, const std::string& hostPort, int kind, Tally& tally) {
    Link red(server, hostPort);
    Link blue(server, hostPort);
    tally.connections += 2;
    std::string text;
    std::string error;
    red.send(helloMessage({kProtocolVersion, gameVersion(), {}}));
    if (!red.open() || !blue.open() || red.next(text) != Heard::Message) {
        ++tally.unanswered;
        return;
    }
    const std::optional<ServerMessage> opened = readServerMessage(text, error);
    blue.send(helloMessage({kProtocolVersion, gameVersion(), opened ? opened->opened.room : ""}));
    tally.messages += 2;
    if (red.next(text) != Heard::Message || blue.next(text) != Heard::Message) {
        ++tally.unanswered;
        return;
    }
    const std::optional<ServerMessage> start = readServerMessage(text, error);
    const std::string map = start ? start->start.map : "";
    std::string orders;
    if (kind == 1) {
        orders = orderFor(soldierOf(map, 1), 0);
    } else if (kind == 2) {
        for (std::size_t order = 0; order <= kMostOrdersPerTurn; ++order) {
            orders += (order == 0 ? "" : ",") + orderFor(soldierOf(map, 0), 0);
        }
    }
    red.send(turnWith(kind == 0 ? kDelayTurns + 1 : kDelayTurns, orders));
    ++tally.messages;
    judge(red, tally);
}

void flood(const tcp::endpoint& server, const std::string& hostPort, int kind, std::mt19937& random,
           Tally& tally) {
    Link link(server, hostPort);
    ++tally.connections;
    if (!link.open()) {
        ++tally.unanswered;
        return;
    }
    switch (kind) {
        case 0:
            link.send(malformed(random));
            break;
        case 1:
            link.send(std::string(kMostPlayerMessageBytes + 1 + random() % 4096, 'x'));
            break;
        case 2:
            link.send(randomText(random, 512), true);
            break;
        case 3:
            link.send(randomText(random, 512));
            break;
        default:
            link.send("{\"kind\":\"" + std::string(1, static_cast<char>('a' + random() % 26)) +
                      "flood\"}");
            break;
    }
    ++tally.messages;
    judge(link, tally);
}

bool isLoopback(const std::string& host) {
    beast::error_code error;
    const asio::ip::address address = asio::ip::make_address(host, error);
    return !error && address.is_loopback();
}

}  // namespace

int main(int argc, char** argv) {
    const std::string usage = "usage: dromlin-netflood HOST:PORT --messages N [--seconds S]";
    if (argc < 2) {
        std::fprintf(stderr, "%s\n", usage.c_str());
        return 2;
    }
    const std::string hostPort = argv[1];
    long messages = 1000;
    long seconds = 300;
    for (int at = 2; at < argc; at += 2) {
        const std::string name = argv[at];
        if (at + 1 >= argc || (name != "--messages" && name != "--seconds")) {
            std::fprintf(stderr, "dromlin-netflood: unexpected %s\n%s\n", name.c_str(),
                         usage.c_str());
            return 2;
        }
        char* end = nullptr;
        const long value = std::strtol(argv[at + 1], &end, 10);
        if (*end != '\0' || value < 1 || value > kMostMessages) {
            std::fprintf(stderr, "dromlin-netflood: %s wants 1 to %d\n", name.c_str(),
                         kMostMessages);
            return 2;
        }
        (name == "--messages" ? messages : seconds) = value;
    }
    const std::size_t colon = hostPort.rfind(':');
    std::string host = colon == std::string::npos ? "" : hostPort.substr(0, colon);
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') {
        host = host.substr(1, host.size() - 2);
    }
    char* end = nullptr;
    const long port =
        colon == std::string::npos ? 0 : std::strtol(hostPort.c_str() + colon + 1, &end, 10);
    if (!isLoopback(host) || port < 1 || port > 65535 || *end != '\0') {
        std::fprintf(stderr, "dromlin-netflood: %s: not a loopback ADDR:PORT (this machine only)\n",
                     hostPort.c_str());
        return 2;
    }
    const tcp::endpoint server(asio::ip::make_address(host), static_cast<uint16_t>(port));
    std::mt19937 random(20261210);
    Tally tally;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    for (int kind = 0; tally.messages < messages && std::chrono::steady_clock::now() < deadline;
         kind = (kind + 1) % 8) {
        if (kind < 5) {
            flood(server, hostPort, kind, random, tally);
        } else {
            roomFlood(server, hostPort, kind - 5, tally);
        }
    }
    std::printf(
        "dromlin-netflood: %d messages on %d connections: %d refused with a reason, %d "
        "closed, %d answered, %d unanswered\n",
        tally.messages, tally.connections, tally.refused, tally.closed, tally.answered,
        tally.unanswered);
    return tally.unanswered == 0 && tally.messages >= messages ? 0 : 1;
}
