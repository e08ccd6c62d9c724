// The native MessageLink: a WebSocket client through Boost.Beast, on an io_context of its own
// thread. Everything that touches the socket runs on that thread; the caller's thread only
// posts work to it and takes events from a queue.
#include <boost/asio/connect.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/websocket.hpp>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "net/MessageLink.h"
#include "net/Protocol.h"

namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace websocket = beast::websocket;
using tcp = asio::ip::tcp;

// Reaching the server (the name, the connection and the WebSocket handshake together), and
// later a closing handshake, take at most this.
constexpr auto kMostWait = std::chrono::seconds(10);

// One line of an error's text: Windows' texts end in a line break and some in a full stop.
std::string textOf(const beast::error_code& error) {
    std::string text = error.message();
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == '.' ||
                             text.back() == ' ')) {
        text.pop_back();
    }
    return text.empty() ? "error " + std::to_string(error.value()) : text;
}

// "HOST:PORT", "[::1]:PORT": the host as the resolver takes it, and the port, 1 to 65535.
bool splitHostPort(const std::string& hostPort, std::string& host, std::string& port) {
    const std::size_t colon = hostPort.rfind(':');
    if (colon == std::string::npos || colon == 0) {
        return false;
    }
    host = hostPort.substr(0, colon);
    port = hostPort.substr(colon + 1);
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') {
        host = host.substr(1, host.size() - 2);
    }
    if (port.empty() || port.size() > 5 || host.empty()) {
        return false;
    }
    unsigned value = 0;
    for (const char c : port) {
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return value >= 1 && value <= 65535;
}

class BeastLink final : public MessageLink {
public:
    explicit BeastLink(const std::string& hostPort)
        : hostPort_(hostPort), resolver_(io_), ws_(io_), deadline_(io_) {
        std::string host;
        std::string port;
        if (!splitHostPort(hostPort, host, port)) {
            closed_ = true;
            push({Event::Kind::Closed, "cannot reach " + hostPort + ": not a HOST:PORT"});
            return;
        }
        ws_.read_message_max(kMostServerMessageBytes);
        websocket::stream_base::timeout timeouts{};
        timeouts.handshake_timeout = kMostWait;
        // A server that goes quiet is pinged; one that answers nothing for this long is gone.
        timeouts.idle_timeout = kMostWait;
        timeouts.keep_alive_pings = true;
        ws_.set_option(timeouts);
        ws_.text(true);
        ws_.set_option(websocket::stream_base::decorator([](websocket::request_type& request) {
            request.set(beast::http::field::user_agent, "dromlin/" DROMLIN_GAME_VERSION);
        }));
        deadline_.expires_after(kMostWait);
        deadline_.async_wait([this](const beast::error_code& error) {
            if (!error && !open_ && !closed_) {
                timedOut_ = true;
                resolver_.cancel();
                beast::get_lowest_layer(ws_).cancel();
            }
        });
        resolver_.async_resolve(
            host, port,
            [this](const beast::error_code& error, const tcp::resolver::results_type& found) {
                resolved(error, found);
            });
        thread_ = std::thread([this] { io_.run(); });
    }

    ~BeastLink() override {
        io_.stop();
        if (thread_.joinable()) {
            thread_.join();
        }
    }

    void send(const std::string& text) override {
        asio::post(io_, [this, text] {
            if (closed_ || closing_) {
                return;
            }
            writes_.push_back(text);
            if (open_ && writes_.size() == 1) {
                writeNext();
            }
        });
    }

    std::optional<Event> poll() override {
        const std::lock_guard<std::mutex> lock(mutex_);
        return takeLocked();
    }

    std::optional<Event> wait(int timeoutMs) override {
        std::unique_lock<std::mutex> lock(mutex_);
        ready_.wait_for(lock, std::chrono::milliseconds(timeoutMs > 0 ? timeoutMs : 0),
                        [this] { return !events_.empty(); });
        return takeLocked();
    }

    void close() override {
        asio::post(io_, [this] {
            if (closed_ || closing_) {
                return;
            }
            closing_ = true;
            if (!open_) {
                resolver_.cancel();
                beast::get_lowest_layer(ws_).cancel();
            } else if (writes_.empty()) {
                closeNow();
            }
            // Else the last write closes, so what was sent before still goes out.
        });
    }

private:
    std::optional<Event> takeLocked() {
        if (events_.empty()) {
            return std::nullopt;
        }
        Event event = std::move(events_.front());
        events_.pop_front();
        return event;
    }

    void push(Event event) {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            events_.push_back(std::move(event));
        }
        ready_.notify_all();
    }

    // The one Closed event; the socket goes, and with no work left the thread ends.
    void finish(const std::string& why) {
        if (closed_) {
            return;
        }
        closed_ = true;
        writes_.clear();
        deadline_.cancel();
        beast::error_code ignored;
        beast::get_lowest_layer(ws_).socket().close(ignored);
        push({Event::Kind::Closed, why});
    }

    void unreachable(const beast::error_code& error) {
        if (closing_) {
            finish("");
        } else {
            finish("cannot reach " + hostPort_ + ": " +
                   (timedOut_ ? std::string("no answer within 10 s") : textOf(error)));
        }
    }

    void resolved(const beast::error_code& error, const tcp::resolver::results_type& found) {
        if (error || timedOut_ || closing_) {
            unreachable(error);
            return;
        }
        beast::get_lowest_layer(ws_).async_connect(
            found, [this](const beast::error_code& failed, const tcp::endpoint&) {
                if (failed || timedOut_ || closing_) {
                    unreachable(failed);
                    return;
                }
                // A turn's message is small and due at once: no waiting to gather more.
                beast::error_code ignored;
                beast::get_lowest_layer(ws_).socket().set_option(tcp::no_delay(true), ignored);
                ws_.async_handshake(hostPort_, "/play", [this](const beast::error_code& refused) {
                    handshaken(refused);
                });
            });
    }

    void handshaken(const beast::error_code& error) {
        if (error || timedOut_ || closing_) {
            unreachable(error);
            return;
        }
        open_ = true;
        deadline_.cancel();
        push({Event::Kind::Opened, {}});
        readNext();
        if (!writes_.empty()) {
            writeNext();
        }
    }

    void readNext() {
        ws_.async_read(buffer_, [this](const beast::error_code& error, std::size_t) {
            if (error) {
                lost(error);
                return;
            }
            push({Event::Kind::Message, beast::buffers_to_string(buffer_.data())});
            buffer_.consume(buffer_.size());
            readNext();
        });
    }

    void writeNext() {
        ws_.async_write(asio::buffer(writes_.front()),
                        [this](const beast::error_code& error, std::size_t) {
                            if (error) {
                                lost(error);
                                return;
                            }
                            writes_.pop_front();
                            if (!writes_.empty()) {
                                writeNext();
                            } else if (closing_) {
                                closeNow();
                            }
                        });
    }

    void closeNow() {
        // The read that is always waiting ends, and with it the link, once the server answers
        // or the closing handshake runs out of time.
        ws_.async_close(websocket::close_code::normal, [](const beast::error_code&) {});
    }

    void lost(const beast::error_code& error) {
        if (closing_) {
            finish("");
        } else if (error == websocket::error::closed) {
            const std::string reason(ws_.reason().reason.c_str());
            finish(reason.empty() ? "the server closed the connection"
                                  : "the server closed the connection: " + reason);
        } else {
            finish("the connection to the server was lost: " + textOf(error));
        }
    }

    const std::string hostPort_;
    asio::io_context io_;
    tcp::resolver resolver_;
    websocket::stream<beast::tcp_stream> ws_;
    asio::steady_timer deadline_;
    beast::flat_buffer buffer_;
    std::thread thread_;

    // The io thread's alone.
    std::deque<std::string> writes_;  // the front one is being written
    bool open_ = false;
    bool closing_ = false;
    bool closed_ = false;
    bool timedOut_ = false;

    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<Event> events_;
};

}  // namespace

std::unique_ptr<MessageLink> openMessageLink(const std::string& hostPort) {
    return std::make_unique<BeastLink>(hostPort);
}
