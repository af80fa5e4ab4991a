// The object file reader. It does not walk the IFF chunk tree: it finds the chunks it needs
// ("SRFS", "SURF", "COLR", "PNTS", "POLS") by testing positions for their four-character ids,
// reads what follows them, and ignores everything else.

#include <cmath>
#include <cstring>

#include "scene/DataPath.h"
#include "scene/SceneObject.h"
#include "scene/TextScanner.h"

namespace vardel {

namespace {

class ChunkScanner {
public:
    explicit ChunkScanner(std::span<const std::uint8_t> bytes) : bytes(bytes) {}

    // Reads the id-sized token at p: skips whitespace, then takes up to four bytes that are
    // not whitespace. Leaves the position after them.
    struct Token {
        std::size_t start;
        std::size_t end;
        bool atEnd; // stopped by the end of the file before four bytes were read
    };
    Token readToken(std::size_t p) {
        std::size_t q = p;
        while (q < bytes.size() && isWhitespace(bytes[q])) {
            ++q;
        }
        const std::size_t start = q;
        while (q < bytes.size() && q - start < 4 && !isWhitespace(bytes[q])) {
            ++q;
        }
        pos = q;
        return {start, q, q - start < 4 && q == bytes.size()};
    }

    bool matches(const Token& token, const char* id) const {
        return token.end - token.start == 4 && std::memcmp(&bytes[token.start], id, 4) == 0;
    }

    // Tests p, p + 1, ... for id. On a match the position is right after the id and the
    // result is where the id itself starts. Every test that starts inside a run of whitespace
    // reads the same token, so the search moves past the run at once (linear time).
    bool search(std::size_t from, const char* id, std::size_t& idStart) {
        for (std::size_t p = from; p < bytes.size();) {
            const Token token = readToken(p);
            if (matches(token, id)) {
                idStart = token.start;
                return true;
            }
            if (token.atEnd) {
                return false;
            }
            p = token.start + 1;
        }
        return false;
    }

    // A seek may land past the end (a colour id near the end of the file), so the position
    // is checked before the subtraction.
    bool has(std::size_t count) const { return pos <= bytes.size() && count <= bytes.size() - pos; }
    std::size_t remaining() const { return pos <= bytes.size() ? bytes.size() - pos : 0; }
    std::size_t position() const { return pos; }
    void seek(std::size_t p) { pos = p; }

    // Big-endian reads; the caller checks has() first.
    std::uint16_t u16() {
        const auto value = static_cast<std::uint16_t>((bytes[pos] << 8) | bytes[pos + 1]);
        pos += 2;
        return value;
    }
    std::uint32_t u32() {
        const std::uint32_t value = (std::uint32_t{bytes[pos]} << 24) |
                                    (std::uint32_t{bytes[pos + 1]} << 16) |
                                    (std::uint32_t{bytes[pos + 2]} << 8) | bytes[pos + 3];
        pos += 4;
        return value;
    }
    float f32() {
        const std::uint32_t bits = u32();
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

private:
    std::span<const std::uint8_t> bytes;
    std::size_t pos = 0;
};

// Finds the object colour: the first "COLR" after the first "SURF" after the surface names,
// 0x00FFFFFF (white) when there is none. The colour is the four bytes six after the "COLR"
// id (after its 16-bit size) read big-endian and shifted right by 8: 0x00RRGGBB.
bool readColor(ChunkScanner& scan, std::size_t namesStart, std::uint32_t& color,
               std::string& problem) {
    color = 0x00FFFFFF;
    const ChunkScanner::Token afterNames = scan.readToken(scan.position());
    if (afterNames.atEnd) {
        return true;
    }
    const bool surfFollows = scan.matches(afterNames, "SURF");
    std::size_t surfStart = 0;
    if (!surfFollows && !scan.search(namesStart, "SURF", surfStart)) {
        return true;
    }
    const ChunkScanner::Token afterSurf = scan.readToken(scan.position());
    if (afterSurf.atEnd) {
        return true;
    }
    std::size_t colrStart = afterSurf.start;
    if (!scan.matches(afterSurf, "COLR") &&
        !scan.search(surfFollows ? namesStart : surfStart + 1, "COLR", colrStart)) {
        return true;
    }
    scan.seek(colrStart + 6);
    if (!scan.has(4)) {
        problem = "COLR chunk is truncated";
        return false;
    }
    color = scan.u32() >> 8;
    return true;
}

// Reads the signed 32-bit size after a chunk id; the chunk's data must follow in full.
bool readChunkSize(ChunkScanner& scan, const char* id, std::int32_t& size, std::string& problem) {
    const std::string name(id, 4);
    if (!scan.has(4)) {
        problem = name + " chunk is truncated";
        return false;
    }
    size = static_cast<std::int32_t>(scan.u32());
    if (size < 0) {
        problem = name + " size " + std::to_string(size) + " is negative";
        return false;
    }
    if (!scan.has(static_cast<std::size_t>(size))) {
        problem = name + " chunk is truncated: size " + std::to_string(size) + " but " +
                  std::to_string(scan.remaining()) + " bytes follow";
        return false;
    }
    return true;
}

} // namespace

bool SceneObject::loadObject(const std::filesystem::path& path, std::string* reason) {
    std::vector<std::uint8_t> bytes;
    if (!readFileBytes(path, maxObjectFileBytes, bytes, reason)) {
        return false;
    }
    return loadObjectBytes(bytes, path.string(), reason);
}

bool SceneObject::loadObjectBytes(std::span<const std::uint8_t> bytes, const std::string& fileName,
                                  std::string* reason) {
    if (bytes.size() >= 12 && std::memcmp(bytes.data(), "FORM", 4) == 0 &&
        std::memcmp(bytes.data() + 8, "LWO2", 4) == 0) {
        return fail(reason, fileName, "LWO2 objects are not supported (only LWOB)");
    }
    ChunkScanner scan(bytes);

    // Surface names: read past them, they are not used.
    std::size_t namesStart = 0;
    if (!scan.search(0, "SRFS", namesStart)) {
        return fail(reason, fileName, "no SRFS chunk");
    }
    if (!scan.has(4)) {
        return fail(reason, fileName, "SRFS chunk is truncated");
    }
    const std::uint32_t namesSize = scan.u32();
    if (!scan.has(namesSize)) {
        return fail(reason, fileName, "SRFS chunk is truncated");
    }
    scan.seek(scan.position() + namesSize);

    std::uint32_t color = 0;
    std::string problem;
    if (!readColor(scan, namesStart, color, problem)) {
        return fail(reason, fileName, problem);
    }

    // Points: three big-endian floats each, in file units.
    std::size_t idStart = 0;
    if (!scan.matches(scan.readToken(scan.position()), "PNTS") &&
        !scan.search(0, "PNTS", idStart)) {
        return fail(reason, fileName, "no PNTS chunk");
    }
    std::int32_t pointsSize = 0;
    if (!readChunkSize(scan, "PNTS", pointsSize, problem)) {
        return fail(reason, fileName, problem);
    }
    const int count = pointsSize / 12;
    std::vector<Vec3> readPoints(static_cast<std::size_t>(count));
    for (Vec3& point : readPoints) {
        const float x = scan.f32();
        const float y = scan.f32();
        const float z = scan.f32();
        if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) {
            return fail(reason, fileName,
                        "point " + std::to_string(&point - readPoints.data()) +
                            " is not a finite number");
        }
        point = {double{x} * 100.0, double{y} * 100.0, double{z} * 100.0};
    }

    // Polygons: a 16-bit count n, n 16-bit point indices and a 16-bit surface number each.
    const std::size_t afterPoints = scan.position();
    if (!scan.matches(scan.readToken(afterPoints), "POLS") &&
        !scan.search(afterPoints + 1, "POLS", idStart)) {
        return fail(reason, fileName, "no POLS chunk");
    }
    std::int32_t listSize = 0;
    if (!readChunkSize(scan, "POLS", listSize, problem)) {
        return fail(reason, fileName, problem);
    }
    const std::size_t listStart = scan.position();
    int records = 0;
    for (std::int64_t total = 0; total < listSize; ++records) {
        if (total + 2 > listSize) {
            return fail(reason, fileName,
                        "POLS chunk ends inside polygon " + std::to_string(records));
        }
        const auto n = static_cast<std::int16_t>(scan.u16());
        if (n < 2) {
            return fail(reason, fileName,
                        "polygon " + std::to_string(records) + " has " + std::to_string(n) +
                            " points (at least 2 needed)");
        }
        const std::int64_t recordSize = 2 * std::int64_t{n} + 4;
        if (total + recordSize > listSize) {
            return fail(reason, fileName,
                        "POLS chunk ends inside polygon " + std::to_string(records));
        }
        scan.seek(scan.position() + static_cast<std::size_t>(recordSize - 2));
        total += recordSize;
    }

    std::vector<Polygon> readPolygons(static_cast<std::size_t>(records));
    scan.seek(listStart);
    for (Polygon& polygon : readPolygons) {
        const auto n = static_cast<std::int16_t>(scan.u16());
        const std::size_t recordEnd = scan.position() + 2 * static_cast<std::size_t>(n) + 2;
        polygon.vertex[0] = static_cast<std::int16_t>(scan.u16());
        polygon.vertex[1] = static_cast<std::int16_t>(scan.u16());
        polygon.vertex[2] = n == 3 ? static_cast<std::int16_t>(scan.u16()) : -1;
        for (int v = 0; v < (n == 3 ? 3 : 2); ++v) {
            if (polygon.vertex[v] < 0 || polygon.vertex[v] >= count) {
                return fail(reason, fileName,
                            "polygon " + std::to_string(&polygon - readPolygons.data()) +
                                " uses point " + std::to_string(polygon.vertex[v]) +
                                " but the object has " + std::to_string(count) + " points");
            }
        }
        polygon.color = color;
        polygon.object = this;
        polygon.texture = nullptr;
        scan.seek(recordEnd);
    }

    pointCount = count;
    polygonCount = records;
    points = std::move(readPoints);
    polygons = std::move(readPolygons);
    viewPoints.assign(points.size(), Vec3{});
    screenPoints.assign(points.size(), Vec3{});
    vertexNormals.assign(points.size(), Vec3{});
    vertexLight.assign(points.size(), VertexShade{});
    posX = posY = posZ = 0.0;
    pitch = heading = bank = 0.0;
    scaleX = scaleY = scaleZ = 1.0;
    return true;
}

} // namespace vardel
