#pragma once

#include <deque>
#include <optional>

#include "net/MessageLink.h"

// A link whose events the test queues, in its own queue or in one the test keeps after handing
// the link over; nothing crosses a socket. What is sent, and closing, are the subclass's.
class QueuedLink : public MessageLink {
public:
    QueuedLink() : queue_(&own_) {}
    explicit QueuedLink(std::deque<Event>& queue) : queue_(&queue) {}

    std::optional<Event> poll() override {
        if (queue_->empty()) {
            return std::nullopt;
        }
        Event event = queue_->front();
        queue_->pop_front();
        return event;
    }
    std::optional<Event> wait(int) override { return poll(); }

protected:
    void arrive(Event event) { queue_->push_back(std::move(event)); }

private:
    std::deque<Event> own_;
    std::deque<Event>* queue_;
};
