#include "music/RowHistory.h"

namespace vardel {

const RowEvent* RowHistory::playingAt(std::int64_t frame) const {
    if (total == 0 || (oldestKept() == 0 && frame < at(0).frame)) {
        return nullptr;
    }
    // Queries are for frames near the newest rows, so search from the newest back.
    for (std::uint64_t index = total; index-- > oldestKept();) {
        if (at(index).frame <= frame) {
            return &at(index);
        }
    }
    return &at(oldestKept());
}

} // namespace vardel
