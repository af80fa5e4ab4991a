#include "formats/ObjectWriter.h"

#include <bit>

namespace vardel::formats {

void IffWriter::id(const char* fourCharacters) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(fourCharacters[i]));
    }
}

void IffWriter::u8(std::uint8_t value) { out.push_back(value); }

void IffWriter::u16(std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

void IffWriter::u32(std::uint32_t value) {
    u16(static_cast<std::uint16_t>(value >> 16));
    u16(static_cast<std::uint16_t>(value));
}

void IffWriter::f32(float value) { u32(std::bit_cast<std::uint32_t>(value)); }

void IffWriter::bytes(const std::vector<std::uint8_t>& data) {
    out.insert(out.end(), data.begin(), data.end());
}

void IffWriter::chunk(const char* fourCharacters, const std::vector<std::uint8_t>& data) {
    id(fourCharacters);
    u32(static_cast<std::uint32_t>(data.size()));
    bytes(data);
    if (data.size() % 2 != 0) {
        u8(0);
    }
}

namespace {

// A surface name: the text, a terminating zero, padded to an even length.
void writeName(IffWriter& w, const std::string& name) {
    for (char c : name) {
        w.u8(static_cast<std::uint8_t>(c));
    }
    w.u8(0);
    if ((name.size() + 1) % 2 != 0) {
        w.u8(0);
    }
}

} // namespace

std::vector<std::uint8_t> writeObject(const ObjectDescription& object) {
    IffWriter points;
    for (const auto& point : object.points) {
        points.f32(point[0]);
        points.f32(point[1]);
        points.f32(point[2]);
    }
    IffWriter names;
    writeName(names, object.surfaceName);
    IffWriter polygons;
    for (const auto& polygon : object.polygons) {
        polygons.u16(static_cast<std::uint16_t>(polygon.size()));
        for (std::uint16_t index : polygon) {
            polygons.u16(index);
        }
        polygons.u16(1); // surface number, 1-based
    }
    IffWriter surface;
    writeName(surface, object.surfaceName);
    surface.id("COLR");
    surface.u16(4);
    surface.u8(object.color[0]);
    surface.u8(object.color[1]);
    surface.u8(object.color[2]);
    surface.u8(0);

    IffWriter body;
    body.id("LWOB");
    body.chunk("PNTS", points.data());
    body.chunk("SRFS", names.data());
    body.chunk("POLS", polygons.data());
    body.chunk("SURF", surface.data());
    IffWriter file;
    file.chunk("FORM", body.data());
    return file.data();
}

} // namespace vardel::formats
