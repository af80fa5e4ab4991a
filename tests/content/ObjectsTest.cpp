// The generated object files: well-formed IFF, triangles only, sized and wound as the demo's
// texture mappings and back-face culling need.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <string>

#include "GeneratedData.h"
#include "art/DataName.h"
#include "art/Vector.h"
#include "objects/ObjectFiles.h"
#include "objects/Objects.h"
#include "scene/SceneObject.h"

namespace vardel {
namespace {

using makedata::cross;
using makedata::dot;
using makedata::length;
using makedata::operator+;
using makedata::operator-;
using makedata::operator*;

using makedata::objectFiles;

std::uint32_t bigEndian32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return (std::uint32_t{b[at]} << 24) | (std::uint32_t{b[at + 1]} << 16) |
           (std::uint32_t{b[at + 2]} << 8) | b[at + 3];
}

std::uint16_t bigEndian16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>((b[at] << 8) | b[at + 1]);
}

// Walks the chunk tree as a strict IFF reader would: FORM of type LWOB whose size is the rest
// of the file, chunks padded to even lengths ending exactly at the end. Returns the chunks'
// offsets (of their data) by id.
std::map<std::string, std::pair<std::size_t, std::uint32_t>>
walkIff(const std::vector<std::uint8_t>& bytes, const std::string& name) {
    std::map<std::string, std::pair<std::size_t, std::uint32_t>> chunks;
    EXPECT_GE(bytes.size(), 12u) << name;
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "FORM") << name;
    EXPECT_EQ(bigEndian32(bytes, 4), bytes.size() - 8) << name;
    EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 12), "LWOB") << name;
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::string id(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                             bytes.begin() + static_cast<std::ptrdiff_t>(at + 4));
        const std::uint32_t size = bigEndian32(bytes, at + 4);
        chunks[id] = {at + 8, size};
        at += 8 + size + (size % 2);
    }
    EXPECT_EQ(at, bytes.size()) << name;
    return chunks;
}

TEST(ObjectFiles, AreStrictIffWithTrianglesThatIndexTheirPoints) {
    for (const auto& file : objectFiles()) {
        const auto bytes =
            test::readBytes(makedata::fileInData(test::generatedObjects(), file.name));
        auto chunks = walkIff(bytes, file.name);
        ASSERT_TRUE(chunks.count("PNTS") && chunks.count("POLS") && chunks.count("SRFS") &&
                    chunks.count("SURF"))
            << file.name;
        const std::uint32_t points = chunks["PNTS"].second / 12;
        EXPECT_EQ(chunks["PNTS"].second % 12, 0u);
        const auto [start, size] = chunks["POLS"];
        for (std::size_t at = start; at < start + size;) {
            ASSERT_EQ(bigEndian16(bytes, at), 3) << file.name << " polygon at " << at;
            for (int k = 1; k <= 3; ++k) {
                EXPECT_LT(bigEndian16(bytes, at + 2 * k), points) << file.name;
            }
            at += 10;
        }
        SceneObject object;
        std::string reason;
        EXPECT_TRUE(
            object.loadObject(makedata::fileInData(test::generatedObjects(), file.name), &reason))
            << reason;
        const auto& c = file.colour;
        EXPECT_EQ(object.polygons.at(0).color, (std::uint32_t{c[0]} << 16) | (c[1] << 8) | c[2]);
    }
}

TEST(ObjectFiles, TexturedObjectsAreCentredOnTheirOrigin) {
    // The mappings scale a texture to twice the largest coordinate on each axis: an object
    // off its centre would use only part of its texture.
    for (const char* name :
         {makedata::objectFile::boat, makedata::objectFile::smallBoat, makedata::objectFile::rings,
          makedata::objectFile::gridWall, makedata::objectFile::cloudBank,
          makedata::objectFile::cloudPuffs, makedata::objectFile::screen}) {
        SceneObject object;
        ASSERT_TRUE(object.loadObject(makedata::fileInData(test::generatedObjects(), name)));
        Vec3 low = object.points[0];
        Vec3 high = object.points[0];
        for (const Vec3& p : object.points) {
            low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
            high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
        }
        EXPECT_NEAR(low.x + high.x, 0.0, (high.x - low.x) * 0.01) << name;
        EXPECT_NEAR(low.y + high.y, 0.0, (high.y - low.y) * 0.01) << name;
    }
}

TEST(ObjectFiles, ProportionsSuitTheirTextures) {
    // The screen is 4:3 like the picture; the rings are a tenth as deep as they are tall, so
    // that the 60 x 600 strip keeps its proportions.
    SceneObject screen;
    SceneObject rings;
    ASSERT_TRUE(screen.loadObject(
        makedata::fileInData(test::generatedObjects(), makedata::objectFile::screen)));
    ASSERT_TRUE(rings.loadObject(
        makedata::fileInData(test::generatedObjects(), makedata::objectFile::rings)));
    screen.computeExtents();
    rings.computeExtents();
    EXPECT_DOUBLE_EQ(screen.extentX / screen.extentY, 4.0 / 3.0);
    EXPECT_NEAR(rings.extentZ / rings.extentY, 60.0 / 600.0, 0.005);
}

// The front of every triangle of a one-sided object must face where it is seen from.
TEST(Meshes, OneSidedObjectsFaceTheirViewers) {
    using Facing = std::function<bool(Vec3 centre, Vec3 normal)>;
    const auto towardCamera = [](Vec3, Vec3 n) { return n.z < 0.0; };
    const struct {
        const char* name;
        makedata::Mesh mesh;
        Facing facing;
    } cases[] = {
        {"screen", makedata::screen(), towardCamera},
        {"grid wall", makedata::gridWall(), towardCamera},
        {"moon", makedata::moonDisc(), towardCamera},
        {"clouds", makedata::cloudBank(5u, 8.0, 5.0, 6, {12, 3}), towardCamera},
        {"sky", makedata::skyBackdrop(),
         [](Vec3 c, Vec3 n) {
             return dot(c, n) < 0.0; // back toward the camera at the origin
         }},
        {"sea", makedata::sea(), [](Vec3, Vec3 n) { return n.y > 0.0; }},
        {"rings", makedata::rings(),
         [](Vec3 c, Vec3 n) {
             // The flat rims face away from the middle plane; each band's outer face points
             // away from the axis and its inner face toward it.
             if (std::abs(n.z) > 0.9 * length(n)) {
                 return c.z * n.z > 0.0;
             }
             const double r = std::hypot(c.x, c.y);
             const bool outer =
                 std::abs(r - 1.0) < 0.02 || std::abs(r - 0.78) < 0.02 || std::abs(r - 0.56) < 0.02;
             const double radial = c.x * n.x + c.y * n.y;
             return outer ? radial > 0.0 : radial < 0.0;
         }},
    };
    for (const auto& c : cases) {
        const auto& points = c.mesh.points();
        for (const auto& t : c.mesh.triangles()) {
            const Vec3 a = points[static_cast<std::size_t>(t[0])];
            const Vec3 b = points[static_cast<std::size_t>(t[1])];
            const Vec3 d = points[static_cast<std::size_t>(t[2])];
            const Vec3 normal = cross(b - a, d - a);
            ASSERT_GT(length(normal), 1e-9) << c.name << ": degenerate triangle";
            ASSERT_TRUE(c.facing((a + b + d) * (1.0 / 3.0), normal)) << c.name;
        }
    }
}

TEST(Meshes, PaperIsSeenFromBothSidesAndTheSailFromOutside) {
    // Every hull triangle has a twin with the opposite turn; the sail's two leaves each face
    // away from the middle plane.
    const makedata::Mesh boat = makedata::paperBoat(1.0, 1.1);
    std::map<std::array<int, 3>, int> seen;
    for (auto t : boat.triangles()) {
        std::rotate(t.begin(), std::min_element(t.begin(), t.end()), t.end());
        ++seen[t];
    }
    int twins = 0;
    for (const auto& [t, count] : seen) {
        twins += seen.count({t[0], t[2], t[1]}) ? 1 : 0;
    }
    const int sail = static_cast<int>(boat.triangles().size()) - twins;
    EXPECT_GT(twins, 300);
    EXPECT_GT(sail, 40);
    EXPECT_LT(boat.triangles().size(), 700u); // a few hundred triangles
}

// A pile of cloud puffs keeps only the puffs that show from -z and puts the nearest first: a
// small puff wholly behind a big one goes, one peeking out past its rim or lying in front
// stays, and the front one's triangles come first.
TEST(Meshes, CloudPilesLeaveOutHiddenPuffsAndStartNearest) {
    const makedata::Puff big{{0, 0, 2}, 4, 3, 2.4};
    const makedata::PuffDetail detail{12, 3};
    const std::size_t perPuff = 12 * 2 * 2 + 12;
    const struct {
        const char* what;
        makedata::Puff other;
        std::size_t puffs;
        bool otherFirst;
    } cases[] = {{"wholly behind", {{0.5, 0, 4}, 1, 1, 0.6}, 1, false},
                 {"peeking out past the rim", {{3.5, 0, 4}, 1, 1, 0.6}, 2, false},
                 {"in front", {{0, 0, -3}, 1, 1, 0.6}, 2, true}};
    for (const auto& c : cases) {
        const makedata::Mesh pile = makedata::puffPile({big, c.other}, detail);
        ASSERT_EQ(pile.triangles().size(), c.puffs * perPuff) << c.what;
        // The first puff's triangles: the front one reaches back to z = -2.9, the big one to
        // z = 1.5, the ones behind start at z = 3.4.
        double deepest = -1e9;
        for (std::size_t i = 0; i < perPuff; ++i) {
            for (int corner : pile.triangles()[i]) {
                deepest = std::max(deepest, pile.points()[static_cast<std::size_t>(corner)].z);
            }
        }
        EXPECT_LT(deepest, c.otherFirst ? -2.0 : 2.0) << c.what;
    }
}

} // namespace
} // namespace vardel
