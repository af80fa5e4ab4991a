#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "art/Vector.h"
#include "formats/ObjectWriter.h"

namespace vardel::makedata {

// Builds an object as points and triangles in file units. A triangle's front is the side its
// normal (b - a) x (c - a) points to; the renderer draws a triangle only from its front, so
// a sheet of paper seen from both sides needs both windings.
class Mesh {
public:
    enum class Side { Front, Back, Both };

    int add(Vec3 point);
    void triangle(int a, int b, int c);

    // A surface sampled on a grid: at(s, t) for s and t from 0 to 1 in `across` and `along`
    // steps. Its front faces the direction of d/ds x d/dt. A closed surface (closedS) reuses
    // the s = 0 column for s = 1; a row whose points all coincide (a pole) becomes one point,
    // and the triangles it would make degenerate are left out.
    template <class At> void surface(int across, int along, At at, Side side, bool closedS = false);

    // Moves every point so that the bounding box is centred on the origin along x and y.
    void centreXY();

    const std::vector<Vec3>& points() const { return pointList; }
    const std::vector<std::array<int, 3>>& triangles() const { return triangleList; }

    // The object file's description: every triangle with one surface of the given colour.
    formats::ObjectDescription describe(const std::string& surfaceName,
                                        std::array<std::uint8_t, 3> colour) const;

private:
    void gridTriangles(const std::vector<int>& index, int across, int along, Side side);

    std::vector<Vec3> pointList;
    std::vector<std::array<int, 3>> triangleList;
};

template <class At> void Mesh::surface(int across, int along, At at, Side side, bool closedS) {
    std::vector<int> index;
    index.reserve(static_cast<std::size_t>((across + 1) * (along + 1)));
    for (int j = 0; j <= along; ++j) {
        const double t = static_cast<double>(j) / along;
        const Vec3 first = at(0.0, t);
        bool pole = true;
        for (int i = 1; i <= across && pole; ++i) {
            pole = length(at(static_cast<double>(i) / across, t) - first) < 1e-9;
        }
        const int rowStart = static_cast<int>(index.size());
        for (int i = 0; i <= across; ++i) {
            if (pole && i > 0) {
                index.push_back(index[static_cast<std::size_t>(rowStart)]);
            } else if (closedS && i == across) {
                index.push_back(index[static_cast<std::size_t>(rowStart)]);
            } else {
                index.push_back(add(at(static_cast<double>(i) / across, t)));
            }
        }
    }
    gridTriangles(index, across, along, side);
}

} // namespace vardel::makedata
