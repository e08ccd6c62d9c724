#pragma once

#include <cstdint>
#include <vector>

// A reached node waiting to be expanded: its grid index, cost from the start and tile.
struct OpenEntry {
    int32_t node;
    int32_t g;
    int32_t x;
    int32_t y;
};

// The search's open list. It hands out the entry with the smallest f and, of equal f, the one
// inserted first: exactly the entry that a front-to-back scan of an insertion-ordered list for
// the smallest f would choose.
//
// One first-in-first-out bucket per f value, kept in a ring. This is exact for the grid search
// because f never falls and never runs far ahead: a node is reached once, its f is fixed then,
// and a node reached from E has f = g(E) + cost + h(N) with cost 10 or 14 and h(N) within
// 1 (straight) or 2 (diagonal) of h(E), so f(E) < f(N) <= f(E) + 16. Every queued f therefore
// lies within 16 of the smallest one, and the ring of 32 never holds two f values in a bucket.
// Entries pushed before the first pop (the start's neighbours) may come in any order.
class OpenQueue {
public:
    void push(int64_t f, const OpenEntry& entry) {
        if (size_ == 0 || f < smallest_) {
            smallest_ = f;
        }
        buckets_[f & kRingMask].entries.push_back(entry);
        ++size_;
    }

    bool empty() const { return size_ == 0; }

    // Only when not empty.
    OpenEntry pop() {
        Bucket* bucket = &buckets_[smallest_ & kRingMask];
        while (bucket->next == bucket->entries.size()) {
            bucket->entries.clear();
            bucket->next = 0;
            ++smallest_;
            bucket = &buckets_[smallest_ & kRingMask];
        }
        --size_;
        return bucket->entries[bucket->next++];
    }

private:
    static constexpr int64_t kRingMask = 31;

    struct Bucket {
        std::vector<OpenEntry> entries;
        std::size_t next = 0;  // the first entry not yet handed out
    };

    Bucket buckets_[kRingMask + 1];
    std::size_t size_ = 0;
    int64_t smallest_ = 0;
};
