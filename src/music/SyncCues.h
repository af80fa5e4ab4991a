#pragma once

#include <cstdint>
#include <vector>

namespace openmpt {
class module;
}

namespace vardel {

// The sync cues of a module: for every pattern the order list plays and every row, the
// parameter of the W command on that row (XM effect 32), or none. The player does nothing
// with W, so the cues are silent; the sound library reads them here and applies them as the
// player reaches each row.
class SyncCues {
public:
    static constexpr int none = -1;

    SyncCues() = default;
    // Reads the cues from the module's pattern data. Only XM modules carry them: in the other
    // formats the letter W names an audible effect, so those modules have no cues.
    explicit SyncCues(const openmpt::module& module);

    // The cue value (0 ... 255) on a row, or `none`; rows outside the module, and in patterns
    // the order list does not play, have none.
    int at(int pattern, int row) const;
    int count() const { return cueCount; }

private:
    std::vector<std::size_t> firstRow; // index in `values` of each pattern's row 0
    std::vector<std::int16_t> values;  // one per row of every pattern
    int cueCount = 0;
};

} // namespace vardel
