#pragma once

// The row walk the triangle fillers share.

#include <array>
#include <utility>

namespace vardel {

// Corner numbers ordered top to bottom by rounded row with exactly three compare-exchange
// steps (0,1 then 1,2 then 0,1); corners on the same row keep their order.
inline std::array<int, 3> sortByRow(const std::array<int, 3>& row) {
    std::array<int, 3> order{0, 1, 2};
    auto exchange = [&](int i, int j) {
        if (row[order[j]] < row[order[i]]) {
            std::swap(order[i], order[j]);
        }
    };
    exchange(0, 1);
    exchange(1, 2);
    exchange(0, 1);
    return order;
}

// A position (and, for left edges, the values it carries) with its change per row.
template <class T> struct EdgeWalker {
    T at{};
    T slope{};
    void step() { at += slope; }
};

// The three edges of a triangle sorted top to bottom as A, B, C.
template <class T> struct TriangleEdges {
    EdgeWalker<T> ab;
    EdgeWalker<T> ac;
    EdgeWalker<T> bc;
};

// A triangle set up for the row walk: an upper part of upperRows rows starting at A's row
// `top`, and a lower part of lowerRows rows starting at B's. The long edge AC is one side
// throughout; the other side is AB in the upper part and restarts at B along BC for the lower
// part. Left edges carry interpolated values, right edges only their position.
template <class Left, class Right> struct TriangleRows {
    int top = 0;
    bool longEdgeRight = false;
    int upperRows = 0;
    int lowerRows = 0;
    TriangleEdges<Left> left;
    TriangleEdges<Right> right;
};

// Calls drawRow(row, left, right) for every row of the triangle, top to bottom; both edges
// step after every row.
template <class Left, class Right, class DrawRow>
void walkRows(const TriangleRows<Left, Right>& t, DrawRow&& drawRow) {
    EdgeWalker<Left> l = t.longEdgeRight ? t.left.ab : t.left.ac;
    EdgeWalker<Right> r = t.longEdgeRight ? t.right.ac : t.right.ab;
    int y = t.top;
    auto rows = [&](int count) {
        for (int i = 0; i < count; ++i, ++y) {
            drawRow(y, l.at, r.at);
            l.step();
            r.step();
        }
    };
    rows(t.upperRows);
    if (t.longEdgeRight) {
        l = t.left.bc;
    } else {
        r = t.right.bc;
    }
    rows(t.lowerRows);
}

} // namespace vardel
