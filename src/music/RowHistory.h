#pragma once

#include <array>
#include <cstdint>

namespace vardel {

// One row the player reached: where in the output it starts and what it means for sync.
struct RowEvent {
    std::int64_t frame = 0; // output frame at which the row starts
    std::int32_t order = 0;
    std::int32_t pattern = 0;
    std::int32_t row = 0;
    std::int32_t sync = 0;   // the sync value from this row on
    std::uint32_t loops = 0; // times the song had wrapped round to its loop point
    bool cue = false;        // the row holds a W command
};

// The rows most recently reached, oldest first, in a fixed ring: enough to look back over the
// output latency and to let a reader catch up on rows since it last looked.
class RowHistory {
public:
    static constexpr std::size_t capacity = 256;

    void clear() { total = 0; }
    void push(const RowEvent& event) { ring[total++ % capacity] = event; }
    // Rows pushed since the last clear; the latest `capacity` of them are kept.
    std::uint64_t size() const { return total; }
    std::uint64_t oldestKept() const { return total > capacity ? total - capacity : 0; }
    // A kept row by its number (oldestKept() <= index < size()).
    const RowEvent& at(std::uint64_t index) const { return ring[index % capacity]; }
    // The row playing at an output frame: the latest kept row that starts at or before it
    // (the oldest kept one for frames before all of them); null when frame precedes the first
    // row pushed or nothing is kept.
    const RowEvent* playingAt(std::int64_t frame) const;

private:
    std::array<RowEvent, capacity> ring{};
    std::uint64_t total = 0;
};

} // namespace vardel
