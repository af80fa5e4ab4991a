#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vardel::formats {

// Builds IFF chunk files with big-endian numbers, chunk by chunk.
class IffWriter {
public:
    void id(const char* fourCharacters);
    void u8(std::uint8_t value);
    void u16(std::uint16_t value);
    void u32(std::uint32_t value);
    void f32(float value);
    void bytes(const std::vector<std::uint8_t>& data);
    // A chunk: id, 32-bit size, data, padded to an even length.
    void chunk(const char* fourCharacters, const std::vector<std::uint8_t>& data);
    const std::vector<std::uint8_t>& data() const { return out; }

private:
    std::vector<std::uint8_t> out;
};

// An object as the demo's object reader takes it: points in file units, polygons as point
// index lists (three for triangles, two for lines) and one surface with a colour.
struct ObjectDescription {
    std::vector<std::array<float, 3>> points;
    std::vector<std::vector<std::uint16_t>> polygons;
    std::string surfaceName = "Default";
    std::array<std::uint8_t, 3> color{255, 255, 255};
};

// Writes FORM/LWOB with PNTS, SRFS, POLS and SURF (holding a COLR sub-chunk).
std::vector<std::uint8_t> writeObject(const ObjectDescription& object);

} // namespace vardel::formats
