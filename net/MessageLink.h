#pragma once

#include <memory>
#include <optional>
#include <string>

// One connection to the versus server that carries whole text messages both ways: a WebSocket,
// through the platform's own library (the desktop's and Windows' through Boost.Beast, the
// page's through the browser's). Events come in order, and `Closed` comes last, once.
class MessageLink {
public:
    struct Event {
        enum class Kind { Opened, Message, Closed } kind = Kind::Closed;
        std::string text;  // a message, or why the link closed (empty if it did not say)
    };

    virtual ~MessageLink() = default;

    // Queued until the link is open; dropped once it closed.
    virtual void send(const std::string& text) = 0;
    // The next event, if one came, without waiting.
    virtual std::optional<Event> poll() = 0;
    // The next event, waiting up to `timeoutMs` for one (the page cannot wait: it polls).
    virtual std::optional<Event> wait(int timeoutMs) = 0;
    // Closes the link; a `Closed` event follows.
    virtual void close() = 0;
};

// Opens a link to the server at "HOST:PORT" (its WebSocket endpoint, "/play"). A host that
// does not answer or refuses gives a `Closed` event saying so; none waits longer than 10 s.
std::unique_ptr<MessageLink> openMessageLink(const std::string& hostPort);
