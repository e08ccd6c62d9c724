#include "VersusServer.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <csignal>
#include <deque>
#include <map>
#include <optional>
#include <utility>

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/signal_set.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/websocket.hpp>
#include <nlohmann/json.hpp>

#include "WebFiles.h"
#include "base/Problem.h"

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
namespace websocket = beast::websocket;
using tcp = asio::ip::tcp;
using Clock = std::chrono::steady_clock;

namespace {

// A connection must finish its HTTP request, and a WebSocket its handshake, within this; a
// player's connection that hears nothing, not even a ping's answer, for this long is closed.
constexpr auto kHandshakeTime = std::chrono::seconds(10);
constexpr auto kIdleTime = std::chrono::seconds(10);
constexpr auto kHttpWriteTime = std::chrono::seconds(60);
constexpr auto kTickEvery = std::chrono::milliseconds(100);
// On stopping, players get this long to take their closing before their sockets are shut.
constexpr auto kClosingTime = std::chrono::milliseconds(1000);
// Beyond this many open connections new ones are closed at once: file descriptors run out.
constexpr std::size_t kMostConnections = 4096;
// What waits to be written to one player, at most: twice the largest message.
constexpr std::size_t kMostQueuedBytes = 2 * kMostServerMessageBytes;
constexpr std::size_t kMostRequestHeaderBytes = 8192;
constexpr std::size_t kMostRequestBodyBytes = 4096;
// Turn timings kept for the stats, at most (a day of a hundred rooms is fewer).
constexpr std::size_t kMostTimings = 1u << 24;
// A WebSocket close reason fits in a control frame: 125 bytes less the code's two.
constexpr std::size_t kMostCloseReasonBytes = 123;
constexpr char kServerName[] = "dromlin-server";

// A UTF-8 reason cut at a character's start.
std::string closeReason(const std::string& reason) {
    if (reason.size() <= kMostCloseReasonBytes) {
        return reason;
    }
    std::size_t end = kMostCloseReasonBytes;
    while (end > 0 && (static_cast<unsigned char>(reason[end]) & 0xc0) == 0x80) {
        --end;
    }
    return reason.substr(0, end);
}

// Whether a Host header is a plain host[:port] that may begin a link.
bool isPlainHost(std::string_view host) {
    return !host.empty() && host.size() <= 255 && std::all_of(host.begin(), host.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '.' || c == '-' || c == ':' || c == '[' || c == ']';
    });
}

std::string endpointText(const tcp::endpoint& endpoint) {
    const std::string address = endpoint.address().to_string();
    return (endpoint.address().is_v6() ? "[" + address + "]" : address) + ":" +
           std::to_string(endpoint.port());
}

bool isTurnMessage(const std::string& text) {
    return text.rfind("{\"kind\":\"turn\"", 0) == 0;
}

bool isRoomMessage(const std::string& text) {
    return text.rfind("{\"kind\":\"room\"", 0) == 0;
}

class PlayerConnection;
class HttpConnection;

}  // namespace

struct VersusServer::Impl {
    explicit Impl(Settings given)
        : settings(std::move(given)), host(settings.host), started(Clock::now()) {}

    int64_t nowMs() const {
        const auto elapsed =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started);
        return elapsed.count() * settings.timeScale;
    }
    std::size_t openConnections() const { return players.size() + pages.size(); }
    void accept();
    void tick();
    void deliver();
    void route(Host::Delivery delivery);
    void shutDown();

    asio::io_context io{1};
    tcp::acceptor acceptor{io};
    asio::steady_timer ticker{io};
    asio::steady_timer closing{io};
    asio::steady_timer retry{io};
    asio::signal_set signals{io};
    Settings settings;
    Host host;
    const Clock::time_point started;
    Host::ConnectionId nextId = 1;
    std::map<Host::ConnectionId, std::weak_ptr<PlayerConnection>> players;
    std::map<uint64_t, std::weak_ptr<HttpConnection>> pages;
    uint64_t nextPage = 1;
    bool stopping = false;
    Stats stats;
};

namespace {

// A player's WebSocket: whole text messages to Host, Host's deliveries back in order, one write
// at a time.
class PlayerConnection : public std::enable_shared_from_this<PlayerConnection> {
public:
    PlayerConnection(VersusServer::Impl& server, beast::tcp_stream&& stream, Host::ConnectionId id,
                     std::string site)
        : server_(server), ws_(std::move(stream)), id_(id), site_(std::move(site)) {}

    void start(http::request<http::string_body> request) {
        beast::get_lowest_layer(ws_).expires_never();
        ws_.set_option(websocket::stream_base::timeout{kHandshakeTime, kIdleTime, true});
        ws_.set_option(websocket::stream_base::decorator([](websocket::response_type& response) {
            response.set(http::field::server, kServerName);
        }));
        // The limit is kept here, message by message, so that a refusal can say why.
        ws_.read_message_max(0);
        ws_.text(true);
        ws_.async_accept(request, [self = shared_from_this()](beast::error_code error) {
            self->accepted(error);
        });
    }

    void queue(Host::Delivery delivery) {
        if (closing_) {
            return;
        }
        if (!delivery.close && queuedBytes_ + delivery.text.size() > kMostQueuedBytes) {
            overflowed();
            return;
        }
        queuedBytes_ += delivery.text.size();
        closing_ = delivery.close;
        if (delivery.close && code_ == websocket::close_code::none) {
            code_ = delivery.text.rfind("{\"kind\":\"refused\"", 0) == 0
                        ? websocket::close_code::policy_error
                        : websocket::close_code::normal;
        }
        outgoing_.push_back(std::move(delivery));
        if (!writing_ && open_) {
            writeNext();
        }
    }

    // Closes without Host: the server stops.
    void closeFor(const std::string& reason) {
        if (!open_) {
            end();
            return;
        }
        if (!closing_) {
            code_ = websocket::close_code::going_away;
            queue({id_, {}, true, reason});
        }
    }

    void shut() {
        beast::error_code ignored;
        beast::get_lowest_layer(ws_).socket().close(ignored);
    }

private:
    void accepted(beast::error_code error) {
        if (error || server_.stopping) {
            end();
            return;
        }
        open_ = true;
        ++server_.stats.connections;
        server_.host.connected(id_, site_, server_.nowMs());
        server_.deliver();
        read();
        if (!writing_ && !outgoing_.empty()) {
            writeNext();
        }
    }

    void read() {
        ws_.async_read_some(asio::buffer(chunk_),
                            [self = shared_from_this()](beast::error_code error, std::size_t size) {
                                self->readSome(error, size);
                            });
    }

    void readSome(beast::error_code error, std::size_t size) {
        if (error) {
            end();
            return;
        }
        if (closing_) {
            return;  // the closing handshake reads what is left
        }
        if (message_.empty() && !ws_.got_text()) {
            refuse("text messages only", websocket::close_code::unknown_data);
            return;
        }
        message_.append(chunk_.data(), size);
        if (message_.size() > kMostPlayerMessageBytes) {
            refuse("a message larger than " + std::to_string(kMostPlayerMessageBytes) + " bytes",
                   websocket::close_code::too_big);
            return;
        }
        if (ws_.is_message_done()) {
            received();
        }
        read();
    }

    void received() {
        const Clock::time_point heard = Clock::now();
        ++server_.stats.messagesIn;
        const std::string text = std::exchange(message_, {});
        server_.host.received(id_, text, server_.nowMs());
        std::vector<Host::Delivery> deliveries = server_.host.takeDeliveries();
        const bool forwarded = std::any_of(
            deliveries.begin(), deliveries.end(),
            [](const Host::Delivery& delivery) { return isTurnMessage(delivery.text); });
        for (Host::Delivery& delivery : deliveries) {
            server_.route(std::move(delivery));
        }
        if (forwarded && server_.stats.turnForwardUs.size() < kMostTimings) {
            server_.stats.turnForwardUs.push_back(
                std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - heard)
                    .count());
        }
    }

    // A fault Host cannot see: the player is refused as Host refuses.
    void refuse(const std::string& reason, websocket::close_code code) {
        message_.clear();
        code_ = code;
        server_.host.disconnected(id_, server_.nowMs());
        server_.deliver();
        queue({id_, refusedMessage({reason}), true, reason});
    }

    // A player who sends but does not read would have the server keep its messages without
    // end, and could not read a closing either: its socket is shut, and Host hears of it when
    // the pending operations end, after the deliveries it is giving now.
    void overflowed() {
        closing_ = true;
        shut();
    }

    void writeNext() {
        Host::Delivery& next = outgoing_.front();
        writing_ = true;
        if (next.text.empty() && next.close) {
            closeNow(next.reason);
            return;
        }
        ++server_.stats.messagesOut;
        ws_.async_write(asio::buffer(next.text),
                        [self = shared_from_this()](beast::error_code error, std::size_t) {
                            self->wrote(error);
                        });
    }

    void wrote(beast::error_code error) {
        if (error) {
            end();
            return;
        }
        Host::Delivery done = std::move(outgoing_.front());
        outgoing_.pop_front();
        queuedBytes_ -= done.text.size();
        if (done.close) {
            closeNow(done.reason);
            return;
        }
        writing_ = false;
        if (!outgoing_.empty()) {
            writeNext();
        }
    }

    void closeNow(const std::string& reason) {
        ws_.async_close(websocket::close_reason(code_, closeReason(reason)),
                        [self = shared_from_this()](beast::error_code) { self->end(); });
    }

    // Once, whichever way the connection ended.
    void end() {
        if (ended_) {
            return;
        }
        ended_ = true;
        shut();
        if (open_) {
            server_.host.disconnected(id_, server_.nowMs());
            server_.deliver();
        }
        server_.players.erase(id_);
        if (server_.stopping && server_.players.empty()) {
            server_.closing.cancel();  // nobody is left to take a closing
        }
    }

    VersusServer::Impl& server_;
    websocket::stream<beast::tcp_stream> ws_;
    const Host::ConnectionId id_;
    const std::string site_;
    std::array<char, 16384> chunk_{};
    std::string message_;
    std::deque<Host::Delivery> outgoing_;
    std::size_t queuedBytes_ = 0;
    websocket::close_code code_ = websocket::close_code::none;
    bool open_ = false;
    bool writing_ = false;
    bool closing_ = false;
    bool ended_ = false;
};

}  // namespace

namespace {

// One HTTP connection: the web build's files, and the upgrade of "/play" to a player's
// WebSocket.
class HttpConnection : public std::enable_shared_from_this<HttpConnection> {
public:
    HttpConnection(VersusServer::Impl& server, tcp::socket&& socket, uint64_t id)
        : server_(server), stream_(std::move(socket)), id_(id) {}

    void start() { read(); }

    void shut() {
        beast::error_code ignored;
        stream_.socket().close(ignored);
    }

private:
    void read() {
        parser_.emplace();
        parser_->header_limit(kMostRequestHeaderBytes);
        parser_->body_limit(kMostRequestBodyBytes);
        stream_.expires_after(kHandshakeTime);
        http::async_read(stream_, buffer_, *parser_,
                         [self = shared_from_this()](beast::error_code error, std::size_t) {
                             self->requested(error);
                         });
    }

    void requested(beast::error_code error) {
        if (error || server_.stopping) {
            end();
            return;
        }
        http::request<http::string_body> request = parser_->release();
        if (websocket::is_upgrade(request)) {
            upgrade(std::move(request));
        } else {
            serve(request);
        }
    }

    void upgrade(http::request<http::string_body> request) {
        const std::string_view host = request[http::field::host];
        const std::string_view path = request.target().substr(0, request.target().find('?'));
        if (path != "/play") {
            answer(request, http::status::not_found, "no WebSocket here: players connect to /play");
            return;
        }
        // A browser names the page that opened the connection: only this server's own.
        const auto origin = request.find(http::field::origin);
        if (origin != request.end() && origin->value() != "http://" + std::string(host)) {
            answer(request, http::status::forbidden,
                   "origin " + printableExcerpt(origin->value()) + " is not this server's");
            return;
        }
        beast::error_code ignored;
        const std::string site =
            "http://" + (isPlainHost(host)
                             ? std::string(host)
                             : endpointText(stream_.socket().local_endpoint(ignored)));
        const Host::ConnectionId id = server_.nextId++;
        const auto player =
            std::make_shared<PlayerConnection>(server_, std::move(stream_), id, site);
        server_.players[id] = player;
        server_.pages.erase(id_);
        ended_ = true;
        player->start(std::move(request));
    }

    void serve(const http::request<http::string_body>& request) {
        if (request.method() != http::verb::get && request.method() != http::verb::head) {
            answer(request, http::status::method_not_allowed, "only GET and HEAD");
            return;
        }
        const std::optional<WebFile> file = findWebFile(server_.settings.web, request.target());
        http::file_body::value_type body;
        beast::error_code error;
        if (file) {
            body.open(file->path.c_str(), beast::file_mode::scan, error);
        }
        if (!file || error) {
            answer(request, http::status::not_found, "not found");
            return;
        }
        const uint64_t size = body.size();
        if (request.method() == http::verb::head) {
            auto response = std::make_shared<http::response<http::empty_body>>(http::status::ok,
                                                                               request.version());
            headers(*response, request, file->contentType);
            response->content_length(size);
            send(response);
            return;
        }
        auto response = std::make_shared<http::response<http::file_body>>(
            std::piecewise_construct, std::make_tuple(std::move(body)),
            std::make_tuple(http::status::ok, request.version()));
        headers(*response, request, file->contentType);
        response->content_length(size);
        send(response);
    }

    template <class Response>
    void headers(Response& response, const http::request<http::string_body>& request,
                 const std::string& type) {
        response.set(http::field::server, kServerName);
        response.set(http::field::content_type, type);
        response.set(http::field::cache_control, "no-cache");
        response.set("X-Content-Type-Options", "nosniff");
        response.keep_alive(request.keep_alive());
    }

    // A one-line answer; after a refusal the connection closes.
    void answer(const http::request<http::string_body>& request, http::status status,
                const std::string& line) {
        auto response =
            std::make_shared<http::response<http::string_body>>(status, request.version());
        headers(*response, request, "text/plain; charset=utf-8");
        if (status == http::status::method_not_allowed) {
            response->set(http::field::allow, "GET, HEAD");
        }
        if (status == http::status::forbidden || websocket::is_upgrade(request)) {
            response->keep_alive(false);
        }
        if (request.method() != http::verb::head) {
            response->body() = line + "\n";
        }
        response->prepare_payload();
        send(response);
    }

    template <class Response>
    void send(const std::shared_ptr<Response>& response) {
        stream_.expires_after(kHttpWriteTime);
        http::async_write(
            stream_, *response,
            [self = shared_from_this(), response](beast::error_code error, std::size_t) {
                if (error || !response->keep_alive() || self->server_.stopping) {
                    self->end();
                } else {
                    self->read();
                }
            });
    }

    void end() {
        if (ended_) {
            return;
        }
        ended_ = true;
        beast::error_code ignored;
        stream_.socket().shutdown(tcp::socket::shutdown_send, ignored);
        stream_.socket().close(ignored);
        server_.pages.erase(id_);
    }

    VersusServer::Impl& server_;
    beast::tcp_stream stream_;
    const uint64_t id_;
    beast::flat_buffer buffer_;
    std::optional<http::request_parser<http::string_body>> parser_;
    bool ended_ = false;
};

}  // namespace

void VersusServer::Impl::accept() {
    acceptor.async_accept([this](beast::error_code error, tcp::socket socket) {
        if (stopping) {
            return;
        }
        if (error) {
            // Out of descriptors, say: try again a little later rather than spin.
            retry.expires_after(kTickEvery);
            retry.async_wait([this](beast::error_code waited) {
                if (!waited && !stopping) {
                    accept();
                }
            });
            return;
        }
        if (openConnections() < kMostConnections) {
            // A turn is a few small messages: none may wait for another's acknowledgement.
            socket.set_option(tcp::no_delay(true), error);
            const uint64_t id = nextPage++;
            const auto page = std::make_shared<HttpConnection>(*this, std::move(socket), id);
            pages[id] = page;
            page->start();
        }
        accept();
    });
}

void VersusServer::Impl::tick() {
    ticker.expires_after(kTickEvery);
    ticker.async_wait([this](beast::error_code error) {
        if (error || stopping) {
            return;
        }
        host.tick(nowMs());
        deliver();
        tick();
    });
}

void VersusServer::Impl::route(Host::Delivery delivery) {
    if (isRoomMessage(delivery.text)) {
        ++stats.rooms;
    }
    const auto found = players.find(delivery.to);
    if (found == players.end()) {
        return;
    }
    if (const std::shared_ptr<PlayerConnection> player = found->second.lock()) {
        player->queue(std::move(delivery));
    }
}

void VersusServer::Impl::deliver() {
    for (Host::Delivery& delivery : host.takeDeliveries()) {
        route(std::move(delivery));
    }
}

void VersusServer::Impl::shutDown() {
    if (stopping) {
        return;
    }
    stopping = true;
    beast::error_code ignored;
    acceptor.close(ignored);
    ticker.cancel();
    retry.cancel();
    signals.cancel();
    // Every player leaves: each battle ends as when both close, its replay with its end line.
    for (const auto& [id, player] : std::map(players)) {
        host.disconnected(id, nowMs());
    }
    host.takeDeliveries();
    for (const auto& [id, player] : std::map(players)) {
        if (const auto open = player.lock()) {
            open->closeFor("the server stopped");
        }
    }
    for (const auto& [id, page] : std::map(pages)) {
        if (const auto open = page.lock()) {
            open->shut();
        }
    }
    if (players.empty()) {
        return;
    }
    closing.expires_after(kClosingTime);
    closing.async_wait([this](beast::error_code) {
        for (const auto& [id, player] : std::map(players)) {
            if (const auto open = player.lock()) {
                open->shut();
            }
        }
    });
}

VersusServer::VersusServer(Settings settings)
    : impl_(std::make_unique<Impl>(std::move(settings))) {}

VersusServer::~VersusServer() = default;

const Host& VersusServer::host() const {
    return impl_->host;
}

bool VersusServer::listen(const std::string& address, uint16_t port, std::string& error) {
    beast::error_code fault;
    const asio::ip::address ip = asio::ip::make_address(address, fault);
    if (fault) {
        error = printableExcerpt(address) + ": not an IP address";
        return false;
    }
    const tcp::endpoint endpoint(ip, port);
    tcp::acceptor& acceptor = impl_->acceptor;
    acceptor.open(endpoint.protocol(), fault);
    if (!fault) {
        acceptor.set_option(asio::socket_base::reuse_address(true), fault);
    }
    if (!fault) {
        acceptor.bind(endpoint, fault);
    }
    if (!fault) {
        acceptor.listen(asio::socket_base::max_listen_connections, fault);
    }
    if (fault) {
        error = endpointText(endpoint) + ": " + fault.message();
        beast::error_code ignored;
        acceptor.close(ignored);
        return false;
    }
    return true;
}

uint16_t VersusServer::port() const {
    beast::error_code ignored;
    return impl_->acceptor.local_endpoint(ignored).port();
}

void VersusServer::run(bool onSignals) {
    Impl& impl = *impl_;
    if (onSignals) {
        impl.signals.add(SIGINT);
        impl.signals.add(SIGTERM);
        impl.signals.async_wait([&impl](beast::error_code error, int) {
            if (!error) {
                impl.shutDown();
            }
        });
    }
    impl.accept();
    impl.tick();
    impl.io.run();
}

void VersusServer::stop() {
    asio::post(impl_->io, [this] { impl_->shutDown(); });
}

const VersusServer::Stats& VersusServer::stats() const {
    return impl_->stats;
}

std::string statsJson(const VersusServer::Stats& stats) {
    std::vector<int64_t> timings = stats.turnForwardUs;
    std::sort(timings.begin(), timings.end());
    const auto percentile = [&](std::size_t percent) -> int64_t {
        return timings.empty() ? 0 : timings[(timings.size() - 1) * percent / 100];
    };
    nlohmann::ordered_json out;
    out["connections"] = stats.connections;
    out["rooms"] = stats.rooms;
    out["messagesIn"] = stats.messagesIn;
    out["messagesOut"] = stats.messagesOut;
    out["turnsForwarded"] = timings.size();
    out["turnForwardP50Us"] = percentile(50);
    out["turnForwardP99Us"] = percentile(99);
    out["turnForwardMostUs"] = timings.empty() ? 0 : timings.back();
    return out.dump();
}
