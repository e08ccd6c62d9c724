// dromlin-bench-versus-load --server PATH [--rooms N] [--seconds S]: starts dromlin-server on a
// free loopback port and fills it with N rooms of two players that play as real clients pace
// themselves: a turn of 96 ms each, each turn's message (no orders, the same hash on both
// sides) sent at its end, and never beyond a turn whose forwarded orders have not come. Then
// reports the server's CPU seconds and peak memory (/proc), its turn forwarding p50/p99
// (--stats), the players' round trip from a turn sent to that turn forwarded, and the size of
// a replay.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/websocket.hpp>

#include "net/Protocol.h"
#include "world/Replay.h"

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace websocket = beast::websocket;
using tcp = asio::ip::tcp;
using Clock = std::chrono::steady_clock;

namespace {

constexpr auto kTurnTime = std::chrono::milliseconds(96);
constexpr char kHash[] = "00000000000000a5";

struct Totals {
    std::vector<int64_t> roundTripUs;
    int64_t turnsForwarded = 0;
    int started = 0;
    int failed = 0;
};

class Player;
using Joiner = std::function<void(const std::string& room)>;

// One fake player; the whole crowd runs on one thread.
class Player : public std::enable_shared_from_this<Player> {
public:
    Player(asio::io_context& io, Totals& totals) : ws_(io), timer_(io), totals_(totals) {}

    void start(const tcp::endpoint& server, std::string room, Joiner onRoom) {
        room_ = std::move(room);
        onRoom_ = std::move(onRoom);
        beast::get_lowest_layer(ws_).async_connect(server, [self = shared_from_this(),
                                                            server](beast::error_code error) {
            if (error) {
                return self->fail();
            }
            beast::error_code ignored;
            beast::get_lowest_layer(self->ws_).socket().set_option(tcp::no_delay(true), ignored);
            const std::string host = "127.0.0.1:" + std::to_string(server.port());
            self->ws_.async_handshake(host, "/play", [self](beast::error_code shaken) {
                if (shaken) {
                    return self->fail();
                }
                self->ws_.text(true);
                self->send(helloMessage({kProtocolVersion, gameVersion(), self->room_}));
                self->read();
            });
        });
    }

    void stop() {
        stopped_ = true;
        timer_.cancel();
        beast::error_code ignored;
        beast::get_lowest_layer(ws_).socket().close(ignored);
    }

private:
    void fail() {
        if (!stopped_) {
            ++totals_.failed;
        }
        stopped_ = true;
    }

    void send(std::string text) {
        outgoing_.push_back(std::move(text));
        if (outgoing_.size() == 1) {
            writeNext();
        }
    }

    void writeNext() {
        ws_.async_write(asio::buffer(outgoing_.front()),
                        [self = shared_from_this()](beast::error_code error, std::size_t) {
                            if (error) {
                                return self->fail();
                            }
                            self->outgoing_.erase(self->outgoing_.begin());
                            if (!self->outgoing_.empty()) {
                                self->writeNext();
                            }
                        });
    }

    void read() {
        ws_.async_read(buffer_, [self = shared_from_this()](beast::error_code error, std::size_t) {
            if (error) {
                return self->fail();
            }
            const std::string text = beast::buffers_to_string(self->buffer_.data());
            self->buffer_.clear();
            self->heard(text);
            self->read();
        });
    }

    void heard(const std::string& text) {
        std::string error;
        const std::optional<ServerMessage> message = readServerMessage(text, error);
        if (!message) {
            return fail();
        }
        switch (message->kind) {
            case ServerMessage::Kind::RoomOpened:
                onRoom_(message->opened.room);
                break;
            case ServerMessage::Kind::Start:
                ++totals_.started;
                begun_ = Clock::now();
                pace();
                break;
            case ServerMessage::Kind::Turn: {
                const int64_t turn = message->turn.turn;
                forwarded_ = std::max(forwarded_, turn);
                ++totals_.turnsForwarded;
                if (turn - kDelayTurns < static_cast<int64_t>(sentAt_.size())) {
                    totals_.roundTripUs.push_back(
                        std::chrono::duration_cast<std::chrono::microseconds>(
                            Clock::now() - sentAt_[turn - kDelayTurns])
                            .count());
                }
                pace();
                break;
            }
            default:
                fail();
        }
    }

    // Ends every turn that is due and whose orders have come, then waits for the next one.
    void pace() {
        while (!stopped_) {
            const int64_t ending = nextSend_ - kDelayTurns;  // the turn whose end sends it
            if (ending >= kDelayTurns && forwarded_ < ending) {
                return;  // the turn's orders have not come: a real client waits too
            }
            const Clock::time_point due = begun_ + kTurnTime * (ending + 1);
            if (Clock::now() < due) {
                timer_.expires_at(due);
                timer_.async_wait([self = shared_from_this()](beast::error_code error) {
                    if (!error) {
                        self->pace();
                    }
                });
                return;
            }
            sentAt_.push_back(Clock::now());
            send("{\"kind\":\"turn\",\"turn\":" + std::to_string(nextSend_++) +
                 ",\"orders\":[],\"hash\":\"" + kHash + "\"}");
        }
    }

    websocket::stream<beast::tcp_stream> ws_;
    asio::steady_timer timer_;
    Totals& totals_;
    beast::flat_buffer buffer_;
    std::vector<std::string> outgoing_;
    std::string room_;
    Joiner onRoom_;
    Clock::time_point begun_;
    std::vector<Clock::time_point> sentAt_;  // by turn - kDelayTurns
    int64_t nextSend_ = kDelayTurns;
    int64_t forwarded_ = -1;
    bool stopped_ = false;
};

uint16_t freePort() {
    asio::io_context io;
    tcp::acceptor acceptor(io, tcp::endpoint(asio::ip::make_address("127.0.0.1"), 0));
    return acceptor.local_endpoint().port();
}

std::string fileText(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// utime + stime of a process, in seconds.
double cpuSeconds(pid_t pid) {
    const std::string stat = fileText("/proc/" + std::to_string(pid) + "/stat");
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    double ticks = 0;
    for (int at = 3; at <= 15 && fields >> field; ++at) {
        if (at == 14 || at == 15) {
            ticks += std::stod(field);
        }
    }
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

std::string statusField(pid_t pid, const std::string& name) {
    std::istringstream status(fileText("/proc/" + std::to_string(pid) + "/status"));
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(name + ":", 0) == 0) {
            return line.substr(line.find_first_not_of(" \t", name.size() + 1));
        }
    }
    return "?";
}

int64_t percentile(std::vector<int64_t> values, std::size_t percent) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[(values.size() - 1) * percent / 100];
}

}  // namespace

int main(int argc, char** argv) {
    std::string program;
    int rooms = 100;
    int seconds = 60;
    for (int at = 1; at + 1 < argc; at += 2) {
        const std::string name = argv[at];
        if (name == "--server") {
            program = argv[at + 1];
        } else if (name == "--rooms") {
            rooms = std::clamp(std::atoi(argv[at + 1]), 1, 1000);
        } else if (name == "--seconds") {
            seconds = std::clamp(std::atoi(argv[at + 1]), 1, 3600);
        }
    }
    if (program.empty()) {
        std::fprintf(stderr,
                     "usage: dromlin-bench-versus-load --server PATH [--rooms N] [--seconds S]\n");
        return 2;
    }
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("dromlin-versus-load-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder / "replays");
    const uint16_t port = freePort();
    const std::string listen = "127.0.0.1:" + std::to_string(port);
    const std::string stats = (folder / "stats.json").string();
    const std::string replays = (folder / "replays").string();
    const pid_t server = fork();
    if (server == 0) {
        execl(program.c_str(), program.c_str(), "--listen", listen.c_str(), "--replays",
              replays.c_str(), "--stats", stats.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));

    asio::io_context io(1);
    const tcp::endpoint endpoint(asio::ip::make_address("127.0.0.1"), port);
    Totals totals;
    std::vector<std::shared_ptr<Player>> players;
    for (int room = 0; room < rooms; ++room) {
        const auto red = std::make_shared<Player>(io, totals);
        const auto blue = std::make_shared<Player>(io, totals);
        players.push_back(red);
        players.push_back(blue);
        red->start(endpoint, {},
                   [blue, endpoint](const std::string& code) { blue->start(endpoint, code, {}); });
    }
    const double cpuBefore = cpuSeconds(server);
    io.run_for(std::chrono::seconds(seconds));
    const double cpu = cpuSeconds(server) - cpuBefore;
    const std::string peak = statusField(server, "VmHWM");
    for (const auto& player : players) {
        player->stop();
    }
    io.run_for(std::chrono::milliseconds(500));
    kill(server, SIGTERM);
    int status = 0;
    waitpid(server, &status, 0);

    std::vector<uintmax_t> sizes;
    for (const auto& entry : std::filesystem::directory_iterator(folder / "replays")) {
        sizes.push_back(entry.file_size());
    }
    std::sort(sizes.begin(), sizes.end());
    std::printf("rooms %d, seconds %d, players started %d, failed %d\n", rooms, seconds,
                totals.started, totals.failed);
    std::printf("server CPU %.2f s (%.2f%% of one core; %.3f ms per room-second), peak RSS %s\n",
                cpu, 100.0 * cpu / seconds, 1000.0 * cpu / (seconds * rooms), peak.c_str());
    std::printf("server stats: %s", fileText(stats).c_str());
    std::printf(
        "players: %lld turns forwarded; round trip from a turn sent to it forwarded p50 %lld us, "
        "p99 %lld us\n",
        static_cast<long long>(totals.turnsForwarded),
        static_cast<long long>(percentile(totals.roundTripUs, 50)),
        static_cast<long long>(percentile(totals.roundTripUs, 99)));
    std::printf("replays %zu, median size %ju bytes\n", sizes.size(),
                sizes.empty() ? uintmax_t{0} : sizes[sizes.size() / 2]);
    std::filesystem::remove_all(folder);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 && totals.failed == 0 ? 0 : 1;
}
