#include "music/SyncCues.h"

#include <libopenmpt/libopenmpt.hpp>

#include <algorithm>
#include <array>

namespace vardel {

SyncCues::SyncCues(const openmpt::module& module) {
    if (module.get_metadata("type") != "xm") {
        return;
    }
    // Only the patterns in the order list can play; a file may hold thousands of others.
    const int patterns = module.get_num_patterns();
    std::vector<bool> listed(static_cast<std::size_t>(std::max(patterns, 0)));
    for (int order = 0; order < module.get_num_orders(); ++order) {
        const int pattern = module.get_order_pattern(order);
        if (pattern >= 0 && pattern < patterns) {
            listed[static_cast<std::size_t>(pattern)] = true;
        }
    }
    // Whether each of the player's effect numbers is W, learnt from the first cell that has
    // it: naming a cell's effect costs far more than reading its number.
    enum : std::int8_t { unknown, w, other };
    std::array<std::int8_t, 256> isW{};
    const int channels = module.get_num_channels();
    for (int pattern = 0; pattern < patterns; ++pattern) {
        firstRow.push_back(values.size());
        const int rows =
            listed[static_cast<std::size_t>(pattern)] ? module.get_pattern_num_rows(pattern) : 0;
        for (int row = 0; row < rows; ++row) {
            // Several W commands on one row: the rightmost channel's wins, as later
            // channels' effects are applied after earlier ones.
            int value = none;
            for (int channel = 0; channel < channels; ++channel) {
                const std::uint8_t effect = module.get_pattern_row_channel_command(
                    pattern, row, channel, openmpt::module::command_effect);
                if (isW[effect] == unknown) {
                    isW[effect] = module.format_pattern_row_channel_command(
                                      pattern, row, channel, openmpt::module::command_effect) == "W"
                                      ? w
                                      : other;
                }
                if (isW[effect] == w) {
                    value = module.get_pattern_row_channel_command(
                        pattern, row, channel, openmpt::module::command_parameter);
                }
            }
            cueCount += value != none ? 1 : 0;
            values.push_back(static_cast<std::int16_t>(value));
        }
    }
    firstRow.push_back(values.size());
}

int SyncCues::at(int pattern, int row) const {
    if (pattern < 0 || row < 0 || static_cast<std::size_t>(pattern) + 1 >= firstRow.size()) {
        return none;
    }
    const std::size_t index =
        firstRow[static_cast<std::size_t>(pattern)] + static_cast<std::size_t>(row);
    return index < firstRow[static_cast<std::size_t>(pattern) + 1] ? values[index] : none;
}

} // namespace vardel
