#pragma once

#include <cassert>
#include <cstddef>
#include <vector>

// A column-first grid in one block: grid[x][y], columns of rows, like the map itself.
template <class T>
class Grid {
public:
    Grid() = default;
    Grid(int columns, int rows, T value) { reset(columns, rows, value); }

    void reset(int columns, int rows, T value) {
        columns_ = columns;
        rows_ = rows;
        cells_.assign(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), value);
    }
    void fill(T value) { cells_.assign(cells_.size(), value); }

    T* operator[](int x) {
        assert(x >= 0 && x < columns_);
        return cells_.data() + static_cast<std::size_t>(x) * static_cast<std::size_t>(rows_);
    }
    const T* operator[](int x) const {
        assert(x >= 0 && x < columns_);
        return cells_.data() + static_cast<std::size_t>(x) * static_cast<std::size_t>(rows_);
    }

    int columns() const { return columns_; }
    int rows() const { return rows_; }
    bool contains(int x, int y) const { return x >= 0 && x < columns_ && y >= 0 && y < rows_; }

private:
    int columns_ = 0;
    int rows_ = 0;
    std::vector<T> cells_;
};
