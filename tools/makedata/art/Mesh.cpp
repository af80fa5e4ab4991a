#include "art/Mesh.h"

#include <algorithm>
#include <stdexcept>

namespace vardel::makedata {

int Mesh::add(Vec3 point) {
    pointList.push_back(point);
    return static_cast<int>(pointList.size()) - 1;
}

void Mesh::triangle(int a, int b, int c) {
    if (a != b && b != c && a != c) {
        triangleList.push_back({a, b, c});
    }
}

void Mesh::centreXY() {
    if (pointList.empty()) {
        return;
    }
    Vec3 low = pointList[0];
    Vec3 high = pointList[0];
    for (const Vec3& p : pointList) {
        low = {std::min(low.x, p.x), std::min(low.y, p.y), 0.0};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), 0.0};
    }
    const Vec3 shift = (low + high) * -0.5;
    for (Vec3& p : pointList) {
        p = p + shift;
    }
}

void Mesh::gridTriangles(const std::vector<int>& index, int across, int along, Side side) {
    const auto at = [&](int i, int j) {
        return index[static_cast<std::size_t>(j * (across + 1) + i)];
    };
    for (int j = 0; j < along; ++j) {
        for (int i = 0; i < across; ++i) {
            // Corners in the order (s, t), (s + 1, t), (s + 1, t + 1), (s, t + 1): the turn
            // from the s step to the t step gives the d/ds x d/dt front.
            const int a = at(i, j);
            const int b = at(i + 1, j);
            const int c = at(i + 1, j + 1);
            const int d = at(i, j + 1);
            if (side != Side::Back) {
                triangle(a, b, c);
                triangle(a, c, d);
            }
            if (side != Side::Front) {
                triangle(a, c, b);
                triangle(a, d, c);
            }
        }
    }
}

formats::ObjectDescription Mesh::describe(const std::string& surfaceName,
                                          std::array<std::uint8_t, 3> colour) const {
    // The object reader takes point indices as signed 16-bit numbers.
    if (pointList.size() > 32767) {
        throw std::length_error(surfaceName + ": more than 32767 points");
    }
    formats::ObjectDescription object;
    object.surfaceName = surfaceName;
    object.color = colour;
    for (const Vec3& p : pointList) {
        object.points.push_back(
            {static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z)});
    }
    for (const auto& t : triangleList) {
        object.polygons.push_back({static_cast<std::uint16_t>(t[0]),
                                   static_cast<std::uint16_t>(t[1]),
                                   static_cast<std::uint16_t>(t[2])});
    }
    return object;
}

} // namespace vardel::makedata
