#pragma once

#include <cstdint>
#include <initializer_list>
#include <nlohmann/json.hpp>
#include <string>

#include "base/Problem.h"

// Reading one JSON object of a file or a message, field by field, each checked for its type
// and range: the first problem becomes the one line of the whole read.
class JsonFields {
public:
    JsonFields(const nlohmann::json& object, std::string& error) : object_(object), error_(error) {}

    bool has(const char* key) const { return object_.contains(key); }

    // Refuses keys other than these, which would be a different format or a damaged line.
    bool onlyKeys(std::initializer_list<const char*> keys) {
        for (const auto& item : object_.items()) {
            bool known = false;
            for (const char* key : keys) {
                known = known || item.key() == key;
            }
            if (!known) {
                return fail("unexpected field '" + printableExcerpt(item.key()) + "'");
            }
        }
        return true;
    }

    bool integer(const char* key, int64_t low, int64_t high, int64_t& value) {
        const auto found = object_.find(key);
        if (found == object_.end()) {
            return fail(std::string("no '") + key + "'");
        }
        return integerIn(*found, key, low, high, value);
    }

    bool integerIn(const nlohmann::json& item, const std::string& what, int64_t low, int64_t high,
                   int64_t& value) {
        bool inRange = false;
        if (item.is_number_unsigned()) {
            const uint64_t u = item.get<uint64_t>();
            inRange = u <= static_cast<uint64_t>(high) && static_cast<int64_t>(u) >= low;
            value = inRange ? static_cast<int64_t>(u) : 0;
        } else if (item.is_number_integer()) {
            const int64_t i = item.get<int64_t>();
            inRange = i >= low && i <= high;
            value = i;
        }
        if (!inRange) {
            return fail("'" + what + "' must be a whole number from " + std::to_string(low) +
                        " to " + std::to_string(high));
        }
        return true;
    }

    bool text(const char* key, std::size_t mostBytes, std::string& value) {
        const auto found = object_.find(key);
        if (found == object_.end() || !found->is_string()) {
            return fail(std::string("'") + key + "' must be a string");
        }
        value = found->get<std::string>();
        if (value.size() > mostBytes) {
            return fail(std::string("'") + key + "' is too long");
        }
        return true;
    }

    bool hash(const char* key, uint64_t& value) {
        std::string digits;
        if (!text(key, 16, digits) || digits.size() != 16) {
            return fail(std::string("'") + key + "' must be 16 hexadecimal digits");
        }
        value = 0;
        for (const char c : digits) {
            const bool decimal = c >= '0' && c <= '9';
            const bool letter = c >= 'a' && c <= 'f';
            if (!decimal && !letter) {
                return fail(std::string("'") + key + "' must be 16 hexadecimal digits");
            }
            value = value * 16 + static_cast<uint64_t>(decimal ? c - '0' : c - 'a' + 10);
        }
        return true;
    }

    const nlohmann::json& operator[](const char* key) const { return object_[key]; }
    const nlohmann::json& object() const { return object_; }

    bool fail(const std::string& reason) {
        if (error_.empty()) {
            error_ = reason;
        }
        return false;
    }

private:
    const nlohmann::json& object_;
    std::string& error_;
};
