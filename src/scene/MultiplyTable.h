#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace vardel {

// The 8-bit multiply table the rasterizers use to scale a colour channel j by an intensity i:
// entry i * 256 + j holds (i * j) / 255, rounded down.
class MultiplyTable {
public:
    static constexpr std::size_t kEntries = 256 * 256;
    // The block is allocated with 1,024 bytes beyond the entries (kept zero).
    static constexpr std::size_t kAllocatedBytes = kEntries + 1024;

    MultiplyTable();
    virtual ~MultiplyTable();
    // One table for every scene, built on first use: it never changes.
    static std::shared_ptr<const MultiplyTable> shared();
    MultiplyTable(const MultiplyTable&) = delete;
    MultiplyTable& operator=(const MultiplyTable&) = delete;

    const std::uint8_t* entries() const { return table.get(); }
    std::uint8_t at(int intensity, int channel) const {
        return table[static_cast<std::size_t>(intensity) * 256 + static_cast<std::size_t>(channel)];
    }

private:
    std::unique_ptr<std::uint8_t[]> table;
};

} // namespace vardel
