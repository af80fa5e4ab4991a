#include "shell/SyncCues.h"

#include <libopenmpt/libopenmpt.hpp>

namespace vardel {

SyncCues::SyncCues(const openmpt::module& module) {
    if (module.get_metadata("type") != "xm") {
        return;
    }
    const int patterns = module.get_num_patterns();
    const int channels = module.get_num_channels();
    for (int pattern = 0; pattern < patterns; ++pattern) {
        firstRow.push_back(values.size());
        const int rows = module.get_pattern_num_rows(pattern);
        for (int row = 0; row < rows; ++row) {
            // Several W commands on one row: the rightmost channel's wins, as later
            // channels' effects are applied after earlier ones.
            int value = none;
            for (int channel = 0; channel < channels; ++channel) {
                if (module.format_pattern_row_channel_command(
                        pattern, row, channel, openmpt::module::command_effect) == "W") {
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
