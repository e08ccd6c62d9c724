#include "OrderList.h"

#include <istream>
#include <limits>
#include <sstream>

#include "Options.h"
#include "base/Problem.h"

namespace {

constexpr std::size_t kMostOrderLineBytes = 1 << 16;
// A list larger than a replay could hold is refused as it is read.
constexpr std::size_t kMostListBytes = kMostReplayBytes / 4;
constexpr unsigned long long kMostNumber = std::numeric_limits<int32_t>::max();

// Whole decimal numbers only, as the options take them.
std::optional<int32_t> number(const std::string& word) {
    const std::optional<unsigned long long> value = parseCount(word);
    return value && *value <= kMostNumber ? std::optional<int32_t>(static_cast<int32_t>(*value))
                                          : std::nullopt;
}

// A view's name as the teams it names: red, blue, or all (both).
std::optional<uint32_t> teamsNamed(const std::string& word) {
    if (word == "red") {
        return teamBit(0);
    }
    if (word == "blue") {
        return teamBit(1);
    }
    if (word == "all") {
        return kBothTeams;
    }
    return std::nullopt;
}

class LineParser {
public:
    explicit LineParser(const std::string& text) {
        std::istringstream in(text);
        for (std::string word; in >> word;) {
            words_.push_back(word);
        }
    }

    bool parse(int32_t& step, Order& order, std::string& error) {
        const std::optional<int32_t> first = number(next());
        if (!first || *first < 1) {
            error = "a line starts with its step, a whole number from 1";
            return false;
        }
        step = *first;
        const std::string kind = next();
        order.kind = orderKindNamed(kind);
        if (order.kind < 0) {
            error = "'" + printableExcerpt(kind) + "' is no order";
            return false;
        }
        order.giver = kBothTeams;
        return arguments(order, error) && giver(order, error) && finished(error);
    }

private:
    bool arguments(Order& order, std::string& error) {
        if (order.kind == OrderKind::ToggleWall) {
            return tile(order, error);
        }
        if (order.kind == OrderKind::SwitchView) {
            const std::optional<uint32_t> viewed = teamsNamed(next());
            if (!viewed) {
                error = "switch-view takes red, blue or all";
                return false;
            }
            // The viewed team waits for orders; in the view of all, nobody does.
            order.commandedTeams = *viewed == kBothTeams ? kNoTeams : *viewed;
            return true;
        }
        if (order.kind == OrderKind::HandOver) {
            const std::optional<uint32_t> commanded = teamsNamed(next());
            if (!commanded) {
                error = "hand-over takes the teams that still wait for orders: red, blue or all";
                return false;
            }
            order.commandedTeams = *commanded;
            return true;
        }
        if (order.kind == OrderKind::ClearRoutes) {
            return true;
        }
        while (at_ < words_.size() && number(words_[at_])) {
            order.soldiers.push_back(*number(words_[at_++]));
        }
        if (order.soldiers.empty()) {
            error = std::string(orderKindName(order.kind)) + " needs the soldiers' ids";
            return false;
        }
        if (orderHasTile(order.kind)) {
            return keyword("to", error) && tile(order, error);
        }
        if (orderHasTarget(order.kind)) {
            const std::optional<int32_t> target = keyword("at", error) ? number(next()) : -1;
            if (!target || *target < 0) {
                error = "pursue needs 'at' and the target's id";
                return false;
            }
            order.target = *target;
        }
        return true;
    }

    bool tile(Order& order, std::string& error) {
        const std::optional<int32_t> column = number(next());
        const std::optional<int32_t> row = number(next());
        if (!column || !row) {
            error = "a tile is its column and its row";
            return false;
        }
        order.column = *column;
        order.row = *row;
        return true;
    }

    bool giver(Order& order, std::string& error) {
        if (at_ == words_.size()) {
            return true;
        }
        if (!keyword("by", error)) {
            return false;
        }
        const std::optional<uint32_t> teams = teamsNamed(next());
        if (!teams) {
            error = "'by' takes red, blue or all";
            return false;
        }
        order.giver = *teams;
        return true;
    }

    bool keyword(const char* word, std::string& error) {
        const std::string found = next();
        if (found != word) {
            error = std::string("expected '") + word + "', found '" + printableExcerpt(found) + "'";
            return false;
        }
        return true;
    }

    bool finished(std::string& error) {
        if (at_ < words_.size()) {
            error = "unexpected '" + printableExcerpt(words_[at_]) + "'";
            return false;
        }
        return true;
    }

    std::string next() { return at_ < words_.size() ? words_[at_++] : std::string(); }

    std::vector<std::string> words_;
    std::size_t at_ = 0;
};

}  // namespace

std::optional<std::vector<StepOrders>> readOrderList(std::istream& in, std::string& error) {
    std::vector<StepOrders> steps;
    int32_t number = 0;
    const auto fail = [&number, &error](const std::string& reason) {
        error = "line " + std::to_string(number) + ": " + reason;
        return std::nullopt;
    };
    std::string line;
    std::size_t bytes = 0;
    while (in.peek() != std::char_traits<char>::eof()) {
        ++number;
        line.clear();
        for (char c = 0; in.get(c) && c != '\n';) {
            if (line.size() >= kMostOrderLineBytes) {
                return fail("longer than " + std::to_string(kMostOrderLineBytes) + " bytes");
            }
            line += c;
        }
        bytes += line.size() + 1;
        if (bytes > kMostListBytes) {
            return fail("the list is larger than " + std::to_string(kMostListBytes) + " bytes");
        }
        const std::string text = line.substr(0, line.find('#'));
        if (text.find_first_not_of(" \t\r") == std::string::npos) {
            continue;
        }
        int32_t step = 0;
        Order order;
        std::string reason;
        if (!LineParser(text).parse(step, order, reason)) {
            return fail(reason);
        }
        if (!steps.empty() && step < steps.back().step) {
            return fail("step " + std::to_string(step) + " comes after step " +
                        std::to_string(steps.back().step));
        }
        if (steps.empty() || steps.back().step != step) {
            steps.push_back({step, {}, number});
        }
        if (steps.back().orders.size() == kMostOrdersPerStep) {
            return fail("more orders at one step than " + std::to_string(kMostOrdersPerStep));
        }
        steps.back().orders.push_back(std::move(order));
    }
    return steps;
}
