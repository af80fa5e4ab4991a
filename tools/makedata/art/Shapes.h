#pragma once

#include <cmath>
#include <vector>

#include "art/Image.h"

namespace vardel::makedata {

struct Point2 {
    double x = 0.0, y = 0.0;
};

inline auto rect(double x0, double y0, double x1, double y1) {
    return makeShape(Box{x0, y0, x1, y1},
                     [=](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; });
}

inline auto ellipse(double cx, double cy, double rx, double ry) {
    return makeShape(Box{cx - rx, cy - ry, cx + rx, cy + ry}, [=](double x, double y) {
        const double dx = (x - cx) / rx;
        const double dy = (y - cy) / ry;
        return dx * dx + dy * dy <= 1.0;
    });
}

inline auto disc(double cx, double cy, double r) {
    return ellipse(cx, cy, r, r);
}

// The band between two circles around one centre.
inline auto annulus(double cx, double cy, double inner, double outer) {
    return makeShape(Box{cx - outer, cy - outer, cx + outer, cy + outer}, [=](double x, double y) {
        const double d = std::hypot(x - cx, y - cy);
        return d >= inner && d <= outer;
    });
}

// The border of a rectangle, `width` thick, lying inside it.
inline auto outline(Box box, double width) {
    return makeShape(box, [=](double x, double y) {
        const bool inBox = x >= box.x0 && x < box.x1 && y >= box.y0 && y < box.y1;
        return inBox && (x < box.x0 + width || x >= box.x1 - width || y < box.y0 + width ||
                         y >= box.y1 - width);
    });
}

// A straight stroke of the given width with round ends.
inline auto stroke(Point2 a, Point2 b, double width) {
    const double r = width * 0.5;
    const Box bounds{std::min(a.x, b.x) - r, std::min(a.y, b.y) - r, std::max(a.x, b.x) + r,
                     std::max(a.y, b.y) + r};
    return makeShape(bounds, [=](double x, double y) {
        const double dx = b.x - a.x;
        const double dy = b.y - a.y;
        const double length2 = dx * dx + dy * dy;
        double t = length2 > 0.0 ? ((x - a.x) * dx + (y - a.y) * dy) / length2 : 0.0;
        t = std::clamp(t, 0.0, 1.0);
        return std::hypot(x - (a.x + t * dx), y - (a.y + t * dy)) <= r;
    });
}

// A closed outline filled with the even-odd rule.
inline auto polygon(std::vector<Point2> corners) {
    Box bounds{corners[0].x, corners[0].y, corners[0].x, corners[0].y};
    for (const Point2& p : corners) {
        bounds = {std::min(bounds.x0, p.x), std::min(bounds.y0, p.y), std::max(bounds.x1, p.x),
                  std::max(bounds.y1, p.y)};
    }
    return makeShape(bounds, [corners = std::move(corners)](double x, double y) {
        bool inside = false;
        for (std::size_t i = 0, j = corners.size() - 1; i < corners.size(); j = i++) {
            const Point2& a = corners[i];
            const Point2& b = corners[j];
            if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) {
                inside = !inside;
            }
        }
        return inside;
    });
}

} // namespace vardel::makedata
