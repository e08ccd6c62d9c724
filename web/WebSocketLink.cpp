#include <emscripten.h>
#include <emscripten/websocket.h>

#include <cstring>
#include <deque>
#include <utility>

#include "net/MessageLink.h"
#include "net/Protocol.h"

// The page's link to the server through the browser's own WebSocket. The browser calls back
// between two animation frames; the callbacks only queue what came, and the frame's poll takes
// it, so the game sees the events where it looks for them, as on the desktop.

namespace {

// How long a link may stay unopened: a browser can take minutes to give up on a host that
// does not answer.
constexpr double kMostOpeningMs = 10000.0;
constexpr unsigned short kNormalClosure = 1000;
constexpr unsigned short kOpen = 1;  // a WebSocket's readyState once open, before closing

// The page is reached over https or http; its WebSocket must follow, or the browser refuses it.
EM_JS(int, pageIsSecure, (), { return location.protocol == "https:" ? 1 : 0; });

class WebSocketLink final : public MessageLink {
public:
    explicit WebSocketLink(const std::string& hostPort) : hostPort_(hostPort) {
        const std::string url = (pageIsSecure() ? "wss://" : "ws://") + hostPort + "/play";
        EmscriptenWebSocketCreateAttributes attributes;
        emscripten_websocket_init_create_attributes(&attributes);
        attributes.url = url.c_str();
        attributes.createOnMainThread = EM_TRUE;
        const EMSCRIPTEN_WEBSOCKET_T socket = emscripten_websocket_new(&attributes);
        if (socket <= 0) {
            finish("this browser cannot open a WebSocket");
            return;
        }
        socket_ = socket;
        openedBy_ = emscripten_get_now() + kMostOpeningMs;
        emscripten_websocket_set_onopen_callback(socket_, this, onOpen);
        emscripten_websocket_set_onmessage_callback(socket_, this, onMessage);
        emscripten_websocket_set_onclose_callback(socket_, this, onClose);
    }

    ~WebSocketLink() override { forget(); }

    void send(const std::string& text) override {
        if (closed_) {
            return;
        }
        if (!opened_) {
            unsent_.push_back(text);
            return;
        }
        // The server may have begun to close: its close event comes in a later callback, and
        // the browser refuses a send meanwhile.
        unsigned short state = 0;
        if (emscripten_websocket_get_ready_state(socket_, &state) == EMSCRIPTEN_RESULT_SUCCESS &&
            state == kOpen) {
            emscripten_websocket_send_utf8_text(socket_, text.c_str());
        }
    }

    std::optional<Event> poll() override {
        if (!opened_ && !closed_ && emscripten_get_now() > openedBy_) {
            finish("the server at " + hostPort_ + " did not answer within 10 s");
        }
        if (events_.empty()) {
            return std::nullopt;
        }
        Event event = std::move(events_.front());
        events_.pop_front();
        return event;
    }

    // The browser never lets a page wait: the next frame looks again.
    std::optional<Event> wait(int) override { return poll(); }

    void close() override { finish(""); }

private:
    static EM_BOOL onOpen(int, const EmscriptenWebSocketOpenEvent*, void* link) {
        static_cast<WebSocketLink*>(link)->opened();
        return EM_TRUE;
    }

    static EM_BOOL onMessage(int, const EmscriptenWebSocketMessageEvent* event, void* link) {
        static_cast<WebSocketLink*>(link)->received(event);
        return EM_TRUE;
    }

    // The browser reports a failed connection as an error and then a close, so the close alone
    // is heard.
    static EM_BOOL onClose(int, const EmscriptenWebSocketCloseEvent* event, void* link) {
        auto* self = static_cast<WebSocketLink*>(link);
        const std::string reason(event->reason, strnlen(event->reason, sizeof event->reason));
        if (!reason.empty()) {
            self->finish(reason);
        } else if (!self->opened_) {
            self->finish("cannot reach the server at " + self->hostPort_);
        } else {
            self->finish("");
        }
        return EM_TRUE;
    }

    void opened() {
        if (closed_) {
            return;
        }
        opened_ = true;
        events_.push_back({Event::Kind::Opened, ""});
        for (const std::string& text : std::exchange(unsent_, {})) {
            emscripten_websocket_send_utf8_text(socket_, text.c_str());
        }
    }

    // Text arrives with its terminating zero counted; a message over the limit ends the link,
    // as the native links' read limit does.
    void received(const EmscriptenWebSocketMessageEvent* event) {
        if (closed_) {
            return;
        }
        std::size_t bytes = event->numBytes;
        if (event->isText && bytes > 0 && event->data[bytes - 1] == 0) {
            --bytes;
        }
        if (bytes > kMostServerMessageBytes) {
            finish("the server sent a message over 16 MiB");
            return;
        }
        events_.push_back(
            {Event::Kind::Message, std::string(reinterpret_cast<const char*>(event->data), bytes)});
    }

    // The last event: the socket is closed and let go, so no callback comes after it.
    void finish(const std::string& why) {
        if (closed_) {
            return;
        }
        closed_ = true;
        unsent_.clear();
        events_.push_back({Event::Kind::Closed, why});
        forget();
    }

    void forget() {
        if (socket_ > 0) {
            emscripten_websocket_close(socket_, kNormalClosure, nullptr);
            emscripten_websocket_delete(socket_);
            socket_ = 0;
        }
    }

    std::string hostPort_;
    EMSCRIPTEN_WEBSOCKET_T socket_ = 0;
    double openedBy_ = 0.0;
    bool opened_ = false;
    bool closed_ = false;
    std::deque<std::string> unsent_;
    std::deque<Event> events_;
};

}  // namespace

std::unique_ptr<MessageLink> openMessageLink(const std::string& hostPort) {
    return std::make_unique<WebSocketLink>(hostPort);
}
