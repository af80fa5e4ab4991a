#pragma once

// The row walk and value planes the triangle fillers share.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "render/RasterMath.h"
#include "render/RasterTriangle.h"
#include "render/Sse2.h"

namespace vardel {

/*
 * The corners' sort keys, row x 4 + corner number, ordered top to bottom: the sort by key is
 * the sort by rounded row in which corners on the same row keep their order. A key gives back
 * its row (key >> 2) and its corner (key & 3). Three compare-exchange steps (0,1 then 1,2 then
 * 0,1) without branches: which way they go is as good as random from one triangle to the next.
 */
inline std::array<std::int64_t, 3> sortedRowKeys(const std::array<int, 3>& row) {
    std::int64_t a = std::int64_t{row[0]} * 4;
    std::int64_t b = std::int64_t{row[1]} * 4 + 1;
    std::int64_t c = std::int64_t{row[2]} * 4 + 2;
    // The keys are far from overflowing (rows lie within the guard band): the difference's
    // sign, spread over all bits, picks the exchange.
    const auto exchange = [](std::int64_t& first, std::int64_t& second) {
        const std::int64_t difference = second - first;
        const std::int64_t swap = difference & (difference >> 63); // difference when second < first
        first += swap;
        second -= swap;
    };
    exchange(a, b);
    exchange(b, c);
    exchange(a, b);
    return {a, b, c};
}

// An edge between two rounded corners, walked from the upper one down. Its column on a row is
// computed from the upper corner directly rather than stepped, so that two triangles sharing
// the edge find exactly the same column on every row and neither gaps nor overlaps appear.
struct RowEdge {
    double x;     // column of the upper corner
    double slope; // change of the column per row (0 for an edge of no height)
    int top;      // row of the upper corner

    double at(int row) const { return x + slope * (row - top); }
};

/*
 * A triangle whose corners are rounded to whole pixels, sorted top to bottom as A, B and C.
 * Row y runs from column round(left edge) up to, not including, round(right edge): the pixel
 * at column c is drawn when the point (c + 1/2, y) lies inside. The long edge AC is one side
 * throughout; the other side is AB above B's row and BC from B's row on. Only the rows and
 * columns inside the target are walked, so a triangle reaching past the target is drawn as
 * far as it covers it, with the same pixels it would have on a larger target.
 *
 * The set-up records (this one and the fillers' own) are filled by their set-up functions and
 * have no initializers: they are made for every triangle, and clearing a few hundred bytes
 * first cost small triangles more than their pixels' shading. No field is read unless the
 * set-up returned true, and a successful set-up writes every field it reads.
 */
struct TriangleRows {
    std::array<int, 3> corner; // the triangle's corner numbers of A, B, C
    std::array<int, 3> column; // rounded corners A, B, C
    std::array<int, 3> row;
    bool longEdgeRight;
    RowEdge ac, ab, bc;
    int firstRow; // the rows walked, inside the target
    int lastRow;
    int bandTop; // rows above this are stepped over but not drawn
};

// Rounds and sorts the corners of a triangle whose corners lie within kGuardBand of the
// target, and finds the rows to walk: from A's row to C's, C's own row included only when
// `bottomRow` is set. False when nothing would be drawn: the rounded corners are collinear
// (this also covers all three on one row) or no row lies inside the target.
inline bool setUpRows(const RasterTriangle& t, bool bottomRow, TriangleRows& rows) {
    std::array<int, 3> column;
    std::array<int, 3> row;
    for (int k = 0; k < 3; ++k) { // within the guard band: nothing to hold
        column[k] = roundNearest(t.screen[k]->x);
        row[k] = roundNearest(t.screen[k]->y);
    }
    const std::array<std::int64_t, 3> key = sortedRowKeys(row);
    for (int k = 0; k < 3; ++k) {
        const auto corner = static_cast<int>(key[k] & 3);
        rows.corner[k] = corner;
        rows.column[k] = column[corner];
        rows.row[k] = static_cast<int>(key[k] >> 2);
    }
    const double xa = rows.column[0], xb = rows.column[1], xc = rows.column[2];
    const double ya = rows.row[0], yb = rows.row[1], yc = rows.row[2];
    // B lies left of AC when this is positive: then AC is the right side. Whole numbers below
    // 2^26, so the products are exact and a zero means collinear.
    const double turn = (xc - xa) * (yb - ya) - (yc - ya) * (xb - xa);
    if (turn == 0.0) {
        return false;
    }
    rows.longEdgeRight = turn > 0.0;
    auto edge = [](double x0, double y0, double x1, double y1) {
        return RowEdge{x0, y1 > y0 ? (x1 - x0) / (y1 - y0) : 0.0, static_cast<int>(y0)};
    };
    rows.ac = edge(xa, ya, xc, yc);
    rows.ab = edge(xa, ya, xb, yb);
    rows.bc = edge(xb, yb, xc, yc);
    // Rows above the band are walked (their values stepped, nothing drawn; see walkRows), so
    // that a band's rows get the values the whole target's would.
    rows.firstRow = std::max(rows.row[0], 0);
    rows.lastRow = std::min({bottomRow ? rows.row[2] : rows.row[2] - 1, t.height - 1, t.endRow - 1});
    rows.bandTop = t.firstRow;
    return rows.firstRow <= rows.lastRow && rows.lastRow >= t.firstRow;
}

// True when the rounded corners lie within columns 0..width and no walked row lies above the
// band: then every row's ends round into 0..width by themselves (the stepped sides stray from
// the exact ones by far less than half a column) and no row is passed over.
inline bool rowsWithin(const TriangleRows& t, int width) {
    // On values and combined with &: no branch but the caller's.
    const int least = lowest(t.column[0], t.column[1], t.column[2]);
    const int most = highest(t.column[0], t.column[1], t.column[2]);
    return (least >= 0) & (most <= width) & (t.firstRow >= t.bandTop);
}

// Calls row(y, firstColumn, endColumn) for every walked row but a lone bottom corner's, top to
// bottom; the span is empty when endColumn <= firstColumn, as it is on rows above the band.
// Each edge's column is found directly on its first walked row and stepped from there, so that
// a triangle sharing the edge steps through the same values. One loop serves both sides and
// both short edges, so that the row's code (fillers inline whole spans into it) is there once.
// Within, the caller has found rowsWithin true: the ends are rounded without holding them to
// the target.
template <bool Within = false, class Row>
void walkRows(const TriangleRows& t, int width, Row&& row) {
    const int middle = std::clamp(t.row[1], t.firstRow, t.lastRow + 1);
    // Above B's row the short side runs along AB, from B's row on along BC. Each side keeps
    // its own column and slope, so that no row chooses between them.
    const double along = t.ac.at(t.firstRow);
    const double across = t.ab.at(t.firstRow);
    double left = t.longEdgeRight ? across : along;
    double right = t.longEdgeRight ? along : across;
    double leftSlope = t.longEdgeRight ? t.ab.slope : t.ac.slope;
    double rightSlope = t.longEdgeRight ? t.ac.slope : t.ab.slope;
    /*
     * The row of a corner alone on its row holds no pixel: both sides meet at the corner's
     * column there (the stepped ones within far less than half a column of it). A top corner's
     * row is stepped over, its values stepped and nothing drawn, and a bottom corner's row is
     * left out, so that the loop does not ask of them whether their span is empty: at the
     * bottom corner, an outcome no processor predicts well.
     */
    int y = t.firstRow;
    if (t.firstRow == t.row[0] && t.row[0] < t.row[1]) {
        row(y, 0, 0);
        left += leftSlope;
        right += rightSlope;
        ++y;
    }
    const int last = t.lastRow == t.row[2] && t.row[1] < t.row[2] ? t.lastRow - 1 : t.lastRow;
    for (; y <= last; ++y) {
        if (y == middle) {
            if (t.longEdgeRight) {
                left = t.bc.at(y);
                leftSlope = t.bc.slope;
            } else {
                right = t.bc.at(y);
                rightSlope = t.bc.slope;
            }
        }
        if constexpr (Within) {
            row(y, roundNearest(left), roundNearest(right));
        } else {
            const int end = y >= t.bandTop ? roundClamped(right, 0, width) : 0;
            row(y, roundClamped(left, 0, width), end);
        }
        left += leftSlope;
        right += rightSlope;
    }
}

// A value that varies linearly over the target: its value at the target's top-left corner and
// its change per column and per row. Part of the set-up records: no initializers.
struct Plane {
    double origin;
    double dx;
    double dy;

    double at(double x, double y) const { return origin + dx * x + dy * y; }
};

// The planes through three corners at (x, y) with values q: one set-up for several values.
class PlaneFit {
public:
    // False when the corners are collinear.
    bool fit(const std::array<double, 3>& x, const std::array<double, 3>& y) {
        x0 = x[0];
        y0 = y[0];
        dx1 = x[1] - x[0];
        dy1 = y[1] - y[0];
        dx2 = x[2] - x[0];
        dy2 = y[2] - y[0];
        const double det = dy1 * dx2 - dy2 * dx1;
        inverseDet = 1.0 / det;
#if VARDEL_SSE2
        alongD2 = _mm_setr_pd(dy1, -dx1);
        alongD1 = _mm_setr_pd(-dy2, dx2);
        inverse = _mm_set1_pd(inverseDet);
        firstCorner = _mm_setr_pd(x[0], y[0]);
#endif
        return det != 0.0;
    }
    // The rounded corners of a triangle set up for its rows (never collinear).
    void fit(const TriangleRows& rows) {
        fit({static_cast<double>(rows.column[0]), static_cast<double>(rows.column[1]),
             static_cast<double>(rows.column[2])},
            {static_cast<double>(rows.row[0]), static_cast<double>(rows.row[1]),
             static_cast<double>(rows.row[2])});
    }
    // The sum over the three corners' weights (the planes of values 1, 0, 0 and so on) of
    // |change per column| + |change per row|: each edge's |dx| + |dy| over |det|.
    double weightSlopes() const {
        const double edges = std::abs(dx1) + std::abs(dy1) + std::abs(dx2) + std::abs(dy2) +
                             std::abs(dx2 - dx1) + std::abs(dy2 - dy1);
        return edges * std::abs(inverseDet);
    }
    Plane plane(const std::array<double, 3>& q) const {
        const double d1 = q[1] - q[0];
        const double d2 = q[2] - q[0];
#if VARDEL_SSE2
        // dx and dy side by side: ([dy1, -dx1] d2 + [-dy2, dx2] d1) / det. The products and
        // sums are those of the plain formula (#else), so the values are the same.
        const __m128d slopes = _mm_mul_pd(
            _mm_add_pd(_mm_mul_pd(alongD2, _mm_set1_pd(d2)), _mm_mul_pd(alongD1, _mm_set1_pd(d1))),
            inverse);
        const __m128d atCorner = _mm_mul_pd(slopes, firstCorner); // dx x0, dy y0
        Plane p;
        p.origin = _mm_cvtsd_f64(_mm_sub_sd(_mm_sub_sd(_mm_set_sd(q[0]), atCorner),
                                            _mm_unpackhi_pd(atCorner, atCorner)));
        _mm_storeu_pd(&p.dx, slopes);
        return p;
#else
        const double dx = (dy1 * d2 - dy2 * d1) * inverseDet;
        const double dy = (d1 * dx2 - d2 * dx1) * inverseDet;
        return {q[0] - dx * x0 - dy * y0, dx, dy};
#endif
    }

private:
    // Set by fit() before any use; no initializers, as for the set-up records.
    double x0, y0; // the first corner
    double dx1, dy1, dx2, dy2, inverseDet;
#if VARDEL_SSE2
    // firstCorner is (x0, y0) as a pair, made once per fit: built in each plane() instead,
    // part 2 ran about 7 % slower.
    __m128d alongD2, alongD1, inverse, firstCorner;
#endif
};

} // namespace vardel
