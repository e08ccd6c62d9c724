// The server's transport on a loopback port: players through real WebSockets, the page's
// files through HTTP, and the refusals as a client sees them.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/websocket.hpp>

#include "ServerOptions.h"
#include "VersusServer.h"
#include "ai/Entity.h"
#include "support/ShippedMap.h"
#include "world/OrderJson.h"
#include "world/Replay.h"
#include "world/World.h"

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
namespace websocket = beast::websocket;
using tcp = asio::ip::tcp;

namespace {

// A server on its own thread, on a port the system picks.
class RunningServer {
public:
    explicit RunningServer(int64_t timeScale = 1) {
        folder_ =
            std::filesystem::temp_directory_path() /
            ("dromlin-server-test-" + std::to_string(::getpid()) + "-" + std::to_string(++made_));
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_ / "web");
        std::ofstream(folder_ / "web" / "index.html") << "<p>index</p>";
        std::ofstream(folder_ / "web" / "dromlin.wasm") << "wasm";
        VersusServer::Settings settings;
        settings.host.map = shippedMapText();
        settings.host.mapName = "map1.txt";
        settings.host.randomBits = [] { return ++bits_ * 0x9e3779b97f4a7c15ull; };
        settings.host.openReplay = [this](const std::string& room) {
            return std::make_unique<std::ofstream>(folder_ / (room + ".jsonl"));
        };
        settings.web = folder_ / "web";
        settings.timeScale = timeScale;
        server_ = std::make_unique<VersusServer>(std::move(settings));
        std::string error;
        EXPECT_TRUE(server_->listen("127.0.0.1", 0, error)) << error;
        thread_ = std::thread([this] { server_->run(false); });
    }
    ~RunningServer() {
        stop();
        std::filesystem::remove_all(folder_);
    }
    void stop() {
        if (thread_.joinable()) {
            server_->stop();
            thread_.join();
        }
    }
    uint16_t port() const { return server_->port(); }
    const std::filesystem::path& folder() const { return folder_; }
    const VersusServer& server() const { return *server_; }

private:
    static inline int made_ = 0;
    static inline uint64_t bits_ = 0;
    std::filesystem::path folder_;
    std::unique_ptr<VersusServer> server_;
    std::thread thread_;
};

// A player's end of a connection; every wait is bounded.
class Client {
public:
    explicit Client(uint16_t port, const std::string& origin = {}) : ws_(io_) {
        beast::get_lowest_layer(ws_).connect(
            tcp::endpoint(asio::ip::make_address("127.0.0.1"), port));
        if (!origin.empty()) {
            ws_.set_option(
                websocket::stream_base::decorator([origin](websocket::request_type& request) {
                    request.set(http::field::origin, origin);
                }));
        }
        host_ = "127.0.0.1:" + std::to_string(port);
        ws_.handshake(response_, host_, "/play", handshakeError_);
        ws_.text(true);
    }
    bool open() const { return !handshakeError_; }
    unsigned status() const { return response_.result_int(); }
    std::string body() const { return response_.body(); }

    void send(const std::string& text) { ws_.write(asio::buffer(text)); }
    void sendBinary(const std::string& bytes) {
        ws_.binary(true);
        ws_.write(asio::buffer(bytes));
        ws_.text(true);
    }
    // The next message, or "closed: REASON" once the server closed.
    std::string next() {
        beast::flat_buffer buffer;
        beast::error_code error;
        bool done = false;
        ws_.async_read(buffer, [&](beast::error_code got, std::size_t) {
            error = got;
            done = true;
        });
        io_.restart();
        io_.run_for(std::chrono::seconds(5));
        if (!done) {
            beast::get_lowest_layer(ws_).close();
            io_.restart();
            io_.run_for(std::chrono::seconds(1));
            return "timed out";
        }
        if (error) {
            return "closed: " + std::string(ws_.reason().reason.c_str());
        }
        return beast::buffers_to_string(buffer.data());
    }
    // The last message before the server closed, and the close's reason.
    std::pair<std::string, std::string> lastAndReason() {
        std::string last;
        for (int messages = 0; messages < 8; ++messages) {
            const std::string got = next();
            if (got.rfind("closed: ", 0) == 0 || got == "timed out") {
                return {last, got};
            }
            last = got;
        }
        return {last, "still open"};
    }

private:
    asio::io_context io_;
    websocket::stream<beast::tcp_stream> ws_;
    websocket::response_type response_;
    beast::error_code handshakeError_;
    std::string host_;
};

std::string hello(const std::string& room = {}) {
    return helloMessage({kProtocolVersion, gameVersion(), room});
}

std::string turn(int64_t number, const std::vector<Order>& orders = {}) {
    return playerTurnMessage({number, orders, 0x1234});
}

ServerMessage read(const std::string& text) {
    std::string error;
    const std::optional<ServerMessage> message = readServerMessage(text, error);
    EXPECT_TRUE(message) << error << ": " << text;
    return message.value_or(ServerMessage{});
}

// Two players in one started room.
struct Room {
    explicit Room(uint16_t port) : red(port), blue(port) {
        red.send(hello());
        code = read(red.next()).opened.room;
        blue.send(hello(code));
        redStart = read(red.next()).start;
        blueStart = read(blue.next()).start;
    }
    Client red;
    Client blue;
    std::string code;
    BattleStart redStart;
    BattleStart blueStart;
};

// A soldier of `team` on the shipped map.
int32_t soldierOf(int team) {
    World world;
    std::istringstream map(shippedMapText());
    EXPECT_TRUE(world.loadMap(map, "map1.txt"));
    for (std::size_t id = 0; id < world.roster.size(); ++id) {
        if (world.roster[id]->team == team) {
            return static_cast<int32_t>(id);
        }
    }
    return -1;
}

Order explore(uint32_t giver, int32_t soldier) {
    Order order;
    order.kind = OrderKind::Explore;
    order.giver = giver;
    order.soldiers = {soldier};
    return order;
}

std::string httpGet(uint16_t port, const std::string& target, unsigned& status, std::string& type) {
    asio::io_context io;
    beast::tcp_stream stream(io);
    stream.connect(tcp::endpoint(asio::ip::make_address("127.0.0.1"), port));
    http::request<http::empty_body> request(http::verb::get, target, 11);
    request.set(http::field::host, "127.0.0.1:" + std::to_string(port));
    http::write(stream, request);
    beast::flat_buffer buffer;
    http::response<http::string_body> response;
    http::read(stream, buffer, response);
    status = response.result_int();
    type = std::string(response[http::field::content_type]);
    return response.body();
}

}  // namespace

TEST(VersusServer, twoPlayersStartTradeTurnsAndAThirdIsToldTheRoomIsFull) {
    RunningServer server;
    {
        Room room(server.port());
        EXPECT_TRUE(isRoomCode(room.code));
        EXPECT_EQ(room.redStart.team, 0);
        EXPECT_EQ(room.blueStart.team, 1);
        EXPECT_EQ(room.redStart.seed, room.blueStart.seed);
        EXPECT_EQ(room.redStart.map, shippedMapText());

        Client third(server.port());
        third.send(hello(room.code));
        const auto [refused, reason] = third.lastAndReason();
        EXPECT_EQ(read(refused).refused.reason, "room " + room.code + " is full");
        EXPECT_EQ(reason, "closed: room " + room.code + " is full");

        const Order order = explore(teamBit(0), soldierOf(0));
        room.red.send(turn(2, {order}));
        room.blue.send(turn(2));
        const ServerTurn forRed = read(room.red.next()).turn;
        const ServerTurn forBlue = read(room.blue.next()).turn;
        EXPECT_EQ(forRed.turn, 2);
        ASSERT_EQ(forRed.orders.size(), 1u);
        EXPECT_EQ(orderAsJson(forRed.orders[0]).dump(), orderAsJson(order).dump());
        EXPECT_EQ(serverTurnMessage(forBlue), serverTurnMessage(forRed));
    }
    server.stop();
    EXPECT_EQ(server.server().stats().connections, 3u);
    EXPECT_EQ(server.server().stats().turnForwardUs.size(), 1u);
    // Both left, and the replay says so at its end.
    int replays = 0;
    for (const auto& entry : std::filesystem::directory_iterator(server.folder())) {
        if (entry.path().extension() == ".jsonl") {
            ++replays;
            std::ifstream in(entry.path());
            std::string error;
            EXPECT_TRUE(readReplay(in, error)) << error;
        }
    }
    EXPECT_EQ(replays, 1);
}

TEST(VersusServer, refusesWithAReasonWhileAnotherRoomPlaysOn) {
    RunningServer server;
    Room bystanders(server.port());
    const auto refusal = [&](const std::function<void(Client&)>& send) {
        Client client(server.port());
        send(client);
        return client.lastAndReason();
    };
    EXPECT_EQ(
        refusal([](Client& c) { c.send(std::string(kMostPlayerMessageBytes + 1, ' ')); }).second,
        "closed: a message larger than 65536 bytes");
    EXPECT_EQ(refusal([](Client& c) { c.send("{\"kind\":"); }).second,
              "closed: a message that is not a JSON object");
    EXPECT_EQ(refusal([](Client& c) { c.send("{\"kind\":\"dance\"}"); }).second,
              "closed: a message of unknown kind 'dance'");
    EXPECT_EQ(refusal([](Client& c) { c.sendBinary(hello()); }).second,
              "closed: text messages only");

    const auto inARoom = [&](const std::vector<Order>& orders, int64_t number) {
        Room room(server.port());
        room.red.send(turn(number, orders));
        return room.red.lastAndReason().second;
    };
    EXPECT_EQ(inARoom({}, 3), "closed: turn 3 out of order: turn 2 was due");
    const int32_t blue = soldierOf(1);
    EXPECT_EQ(
        inARoom({explore(teamBit(0), blue)}, 2),
        "closed: turn 2: an order for soldier " + std::to_string(blue) + " of the other team");
    EXPECT_EQ(inARoom(std::vector<Order>(65, explore(teamBit(0), soldierOf(0))), 2),
              "closed: more than 64 orders in one turn");

    bystanders.red.send(turn(2));
    bystanders.blue.send(turn(2));
    EXPECT_EQ(read(bystanders.red.next()).turn.turn, 2);
    EXPECT_EQ(read(bystanders.blue.next()).turn.turn, 2);
}

TEST(VersusServer, refusesAConnectionThatSaysNoHello) {
    // Host's limit, on a clock a hundred times the wall's.
    RunningServer server(100);
    Client client(server.port());
    const auto [refused, reason] = client.lastAndReason();
    EXPECT_EQ(read(refused).refused.reason, "no hello within 10 s");
    EXPECT_EQ(reason, "closed: no hello within 10 s");
}

TEST(VersusServer, acceptsOnlyItsOwnOriginFromABrowser) {
    RunningServer server;
    Client foreign(server.port(), "http://elsewhere.example");
    EXPECT_FALSE(foreign.open());
    EXPECT_EQ(foreign.status(), 403u);
    EXPECT_EQ(foreign.body(), "origin http://elsewhere.example is not this server's\n");

    Client own(server.port(), "http://127.0.0.1:" + std::to_string(server.port()));
    ASSERT_TRUE(own.open());
    own.send(hello());
    EXPECT_EQ(read(own.next())
                  .opened.link.rfind(
                      "http://127.0.0.1:" + std::to_string(server.port()) + "/versus.html#", 0),
              0u);
}

TEST(VersusServer, servesTheWebFolderAndNothingOutsideIt) {
    RunningServer server;
    unsigned status = 0;
    std::string type;
    EXPECT_EQ(httpGet(server.port(), "/", status, type), "<p>index</p>");
    EXPECT_EQ(status, 200u);
    EXPECT_EQ(type, "text/html; charset=utf-8");
    EXPECT_EQ(httpGet(server.port(), "/dromlin.wasm", status, type), "wasm");
    EXPECT_EQ(type, "application/wasm");
    for (const char* target :
         {"/../etc/passwd", "/%2e%2e/etc/passwd", "/missing.js", "//etc/passwd"}) {
        httpGet(server.port(), target, status, type);
        EXPECT_EQ(status, 404u) << target;
    }
}

TEST(VersusServer, programRefusesBadArgumentsAndAPortInUse) {
    const std::string program = DROMLIN_BINARY_DIR "/dromlin-server";
    EXPECT_EQ(WEXITSTATUS(std::system((program + " --listen nowhere 2>/dev/null").c_str())), 2);
    asio::io_context io;
    tcp::acceptor taken(io, tcp::endpoint(asio::ip::make_address("127.0.0.1"), 0));
    const std::string listen =
        " --listen 127.0.0.1:" + std::to_string(taken.local_endpoint().port());
    EXPECT_EQ(WEXITSTATUS(std::system((program + listen + " --replays none 2>/dev/null").c_str())),
              1);
}

TEST(ServerOptions, readsListenAddressesAndRefusesTheRest) {
    std::string address;
    uint16_t port = 0;
    EXPECT_TRUE(splitListenAddress("[::1]:9000", address, port));
    EXPECT_EQ(address, "::1");
    EXPECT_EQ(port, 9000);
    for (const char* bad :
         {"127.0.0.1", "127.0.0.1:", ":80", "::1:80", "[::1]80", "h:65536", "h:8x"}) {
        EXPECT_FALSE(splitListenAddress(bad, address, port)) << bad;
    }
    std::string error;
    const auto options = readServerOptions({"--replays", "none", "--listen", "127.0.0.1:0"}, error);
    ASSERT_TRUE(options) << error;
    EXPECT_FALSE(options->keepReplays);
    EXPECT_FALSE(readServerOptions({"--map"}, error));
    EXPECT_EQ(error, "--map needs a value");
    EXPECT_FALSE(readServerOptions({"--colour", "red"}, error));
    EXPECT_EQ(error, "unknown option --colour");
}
