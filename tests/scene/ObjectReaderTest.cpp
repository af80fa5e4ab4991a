// The object reader on files made here: what it stores, and how it rejects broken files.

#include <gtest/gtest.h>

#include "formats/ObjectWriter.h"
#include "scene/SceneObject.h"
#include "support/TempDir.h"

namespace vardel {
namespace {

using formats::IffWriter;
using formats::ObjectDescription;
using Bytes = std::vector<std::uint8_t>;

ObjectDescription triangle() {
    ObjectDescription object;
    object.points = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    object.polygons = {{0, 1, 2}};
    return object;
}

Bytes pointsChunk(const std::vector<std::array<float, 3>>& points) {
    IffWriter w;
    for (const auto& p : points) {
        w.f32(p[0]);
        w.f32(p[1]);
        w.f32(p[2]);
    }
    return w.data();
}

Bytes polygonsChunk(const std::vector<std::vector<std::uint16_t>>& polygons) {
    IffWriter w;
    for (const auto& polygon : polygons) {
        w.u16(static_cast<std::uint16_t>(polygon.size()));
        for (auto index : polygon) {
            w.u16(index);
        }
        w.u16(1);
    }
    return w.data();
}

Bytes surfaceChunk(const std::string& name, std::array<std::uint8_t, 4> colr, bool withColr = true) {
    IffWriter w;
    for (char c : name) {
        w.u8(static_cast<std::uint8_t>(c));
    }
    if (withColr) {
        w.id("COLR");
        w.u16(4);
        for (auto b : colr) {
            w.u8(b);
        }
    }
    return w.data();
}

// Assembles FORM/LWOB around the given chunks, in the given order.
Bytes form(const std::vector<std::pair<const char*, Bytes>>& chunks) {
    IffWriter body;
    body.id("LWOB");
    for (const auto& [id, data] : chunks) {
        body.chunk(id, data);
    }
    IffWriter file;
    file.chunk("FORM", body.data());
    return file.data();
}

bool load(SceneObject& object, const Bytes& bytes, std::string* reason = nullptr) {
    return object.loadObjectBytes(bytes, "boat.lwo", reason);
}

TEST(ObjectReader, ReadsPointsPolygonsAndColour) {
    ObjectDescription description = triangle();
    description.points[1] = {1.5f, -0.25f, 0.0f};
    description.color = {0xFF, 0x80, 0x00};
    SceneObject object;
    ASSERT_TRUE(load(object, formats::writeObject(description)));
    ASSERT_EQ(object.pointCount, 3);
    EXPECT_EQ(object.points[1].x, 150.0);
    EXPECT_EQ(object.points[1].y, -25.0);
    EXPECT_EQ(object.points[1].z, 0.0);
    ASSERT_EQ(object.polygonCount, 1);
    const Polygon& polygon = object.polygons[0];
    EXPECT_EQ(polygon.vertex, (std::array<std::int32_t, 3>{0, 1, 2}));
    EXPECT_EQ(polygon.color, 0x00FF8000u);
    EXPECT_EQ(polygon.object, &object);
    EXPECT_EQ(polygon.texture, nullptr);
    EXPECT_EQ(object.viewPoints.size(), 3u);
    EXPECT_EQ(object.screenPoints.size(), 3u);
    EXPECT_EQ(object.vertexNormals.size(), 3u);
    EXPECT_EQ(object.vertexLight.size(), 3u);
    EXPECT_EQ(object.scaleY, 1.0);
}

TEST(ObjectReader, ColourIsWhiteWithoutSurfaceOrColour) {
    const Bytes points = pointsChunk({{0, 0, 0}, {1, 0, 0}});
    const Bytes polygons = polygonsChunk({{0, 1}});
    const Bytes names = surfaceChunk("Default", {}, false);
    for (const Bytes& file :
         {form({{"PNTS", points}, {"SRFS", names}, {"POLS", polygons}}),
          form({{"PNTS", points}, {"SRFS", names}, {"POLS", polygons},
                {"SURF", surfaceChunk("Default", {}, false)}})}) {
        SceneObject object;
        ASSERT_TRUE(load(object, file));
        EXPECT_EQ(object.polygons[0].color, 0x00FFFFFFu);
    }
}

TEST(ObjectReader, FirstColourAfterFirstSurfaceWins) {
    const Bytes file = form({{"PNTS", pointsChunk({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}})},
                             {"SRFS", surfaceChunk("A\0B", {}, false)},
                             {"POLS", polygonsChunk({{0, 1, 2}, {2, 1, 0}})},
                             {"SURF", surfaceChunk("A", {0x10, 0x20, 0x30, 0})},
                             {"SURF", surfaceChunk("B", {0x40, 0x50, 0x60, 0})}});
    SceneObject object;
    ASSERT_TRUE(load(object, file));
    EXPECT_EQ(object.polygons[0].color, 0x00102030u);
    EXPECT_EQ(object.polygons[1].color, 0x00102030u);
}

TEST(ObjectReader, ColourIsFoundWhenWhitespaceBytesPrecedeItsId) {
    // A surface name ending in a space: the colour must still come from the bytes after the
    // "COLR" id, not from one byte earlier.
    const Bytes file = form({{"PNTS", pointsChunk({{0, 0, 0}, {1, 0, 0}})},
                             {"SRFS", surfaceChunk("S", {}, false)},
                             {"POLS", polygonsChunk({{0, 1}})},
                             {"SURF", surfaceChunk("S  ", {0xAB, 0xCD, 0xEF, 0})}});
    SceneObject object;
    ASSERT_TRUE(load(object, file));
    EXPECT_EQ(object.polygons[0].color, 0x00ABCDEFu);
}

TEST(ObjectReader, PolygonRecordsOfEveryLength) {
    // A triangle, a line, a quadrilateral (kept as its first two indices) and a triangle
    // after it, which must be read from its own record start.
    ObjectDescription description;
    description.points = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}};
    description.polygons = {{0, 1, 2}, {3, 1}, {0, 1, 3, 2}, {3, 2, 1}};
    SceneObject object;
    ASSERT_TRUE(load(object, formats::writeObject(description)));
    ASSERT_EQ(object.polygonCount, 4);
    EXPECT_EQ(object.polygons[0].vertex, (std::array<std::int32_t, 3>{0, 1, 2}));
    EXPECT_EQ(object.polygons[1].vertex, (std::array<std::int32_t, 3>{3, 1, -1}));
    EXPECT_EQ(object.polygons[2].vertex, (std::array<std::int32_t, 3>{0, 1, -1}));
    EXPECT_EQ(object.polygons[3].vertex, (std::array<std::int32_t, 3>{3, 2, 1}));
}

TEST(ObjectReader, PointCountTruncatesThePointsSize) {
    Bytes points = pointsChunk({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
    points.insert(points.end(), {1, 2, 3, 4});
    const Bytes file = form({{"PNTS", points},
                             {"SRFS", surfaceChunk("S", {}, false)},
                             {"POLS", polygonsChunk({{0, 1, 2}})}});
    SceneObject object;
    ASSERT_TRUE(load(object, file));
    EXPECT_EQ(object.pointCount, 3);
}

TEST(ObjectReader, ForeignChunksAreIgnored) {
    IffWriter bbox;
    for (int i = 0; i < 6; ++i) {
        bbox.f32(1.0f);
    }
    const Bytes file = form({{"PNTS", pointsChunk({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}})},
                             {"BBOX", bbox.data()},
                             {"SRFS", surfaceChunk("S", {}, false)},
                             {"POLS", polygonsChunk({{0, 1, 2}})},
                             {"CRVS", {}},
                             {"SURF", surfaceChunk("S", {1, 2, 3, 0})}});
    SceneObject object;
    ASSERT_TRUE(load(object, file));
    EXPECT_EQ(object.polygons[0].color, 0x00010203u);
}

TEST(ObjectReader, LoadsFromFileAndNamesMissingFiles) {
    test::TempDir dir;
    const auto path = dir.write("data/boat.lwo", formats::writeObject(triangle()));
    SceneObject object;
    EXPECT_TRUE(object.loadObject(path));
    std::string reason;
    SceneObject missing;
    EXPECT_FALSE(missing.loadObject(dir.path() / "data/none.lwo", &reason));
    EXPECT_NE(reason.find("none.lwo"), std::string::npos) << reason;
    EXPECT_NE(reason.find("cannot open"), std::string::npos) << reason;
}

struct Malformed {
    const char* name;
    Bytes bytes;
    const char* problem;
};

Bytes withPolygons(const Bytes& polygons, int points = 3) {
    std::vector<std::array<float, 3>> list(static_cast<std::size_t>(points), {0, 0, 0});
    return form({{"PNTS", pointsChunk(list)}, {"SRFS", surfaceChunk("S", {}, false)}, {"POLS", polygons}});
}

Bytes rawChunk(const char* id, std::uint32_t size, const Bytes& data) {
    IffWriter w;
    w.id(id);
    w.u32(size);
    w.bytes(data);
    return w.data();
}

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) {
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

TEST(ObjectReader, RejectsMalformedFilesWithAReason) {
    const Bytes names = rawChunk("SRFS", 2, {'S', 0});
    const Bytes points = rawChunk("PNTS", 36, pointsChunk({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}));
    const Bytes polygons = rawChunk("POLS", 10, polygonsChunk({{0, 1, 2}}));
    IffWriter nan;
    nan.f32(0.0f);
    nan.f32(std::numeric_limits<float>::quiet_NaN());
    nan.f32(0.0f);
    IffWriter lwo2;
    lwo2.id("FORM");
    lwo2.u32(4);
    lwo2.id("LWO2");

    const std::vector<Malformed> cases = {
        {"empty", {}, "no SRFS"},
        {"only spaces", Bytes(1 << 20, ' '), "no SRFS"},
        {"no points", concat({names, polygons}), "no PNTS"},
        {"no polygons", concat({points, names}), "no POLS"},
        {"names past the end", concat({rawChunk("SRFS", 1000, {'S', 0})}), "SRFS chunk is truncated"},
        {"size cut off", concat({names, points, Bytes{'P', 'O', 'L', 'S', 0}}), "POLS chunk is truncated"},
        {"points past the end", concat({names, rawChunk("PNTS", 48, pointsChunk({{0, 0, 0}}))}), "PNTS chunk is truncated"},
        {"negative points size", concat({names, rawChunk("PNTS", 0xFFFFFFF4u, {})}), "negative"},
        {"huge polygon size", concat({names, points, rawChunk("POLS", 0x7FFFFFFF, polygonsChunk({{0, 1, 2}}))}), "POLS chunk is truncated"},
        {"negative polygon size", concat({names, points, rawChunk("POLS", 0x80000000u, {})}), "negative"},
        {"one-point polygon", withPolygons(polygonsChunk({{0}})), "has 1 points"},
        {"zero-point polygon", withPolygons(polygonsChunk({{}})), "has 0 points"},
        {"negative count", withPolygons(Bytes{0xFF, 0xFE, 0, 0}), "has -2 points"},
        {"record overruns list", concat({names, points, rawChunk("POLS", 8, polygonsChunk({{0, 1, 2}}))}), "ends inside polygon 0"},
        {"index out of range", withPolygons(polygonsChunk({{0, 1, 3}})), "uses point 3"},
        {"sign-extended index", withPolygons(polygonsChunk({{0, 40000, 1}})), "uses point -25536"},
        {"indices without points", withPolygons(polygonsChunk({{0, 1}}), 0), "uses point 0"},
        {"not a number", concat({names, rawChunk("PNTS", 12, nan.data()), polygons}), "not a finite number"},
        {"colour cut off", concat({points, names, polygons, Bytes{'S', 'U', 'R', 'F', 0, 0, 0, 6, 'C', 'O', 'L', 'R', 0, 4, 1}}), "COLR chunk is truncated"},
        {"colour id at the very end", concat({points, names, polygons, Bytes{'S', 'U', 'R', 'F', 'C', 'O', 'L', 'R'}}), "COLR chunk is truncated"},
        {"other format", lwo2.data(), "LWO2"},
    };
    for (const Malformed& c : cases) {
        SceneObject object;
        std::string reason;
        EXPECT_FALSE(load(object, c.bytes, &reason)) << c.name;
        EXPECT_EQ(reason.rfind("boat.lwo: ", 0), 0u) << c.name << ": " << reason;
        EXPECT_NE(reason.find(c.problem), std::string::npos) << c.name << ": " << reason;
        EXPECT_EQ(object.pointCount, 0) << c.name;
        EXPECT_TRUE(object.points.empty()) << c.name;
    }
}

} // namespace
} // namespace vardel
