#include "scene/MultiplyTable.h"

namespace vardel {

MultiplyTable::MultiplyTable() : table(std::make_unique<std::uint8_t[]>(kAllocatedBytes)) {
    // The running product i * j grows by i per column, so no multiplication per entry.
    for (int i = 0; i < 256; ++i) {
        int product = 0;
        std::uint8_t* row = table.get() + static_cast<std::size_t>(i) * 256;
        for (int j = 0; j < 256; ++j) {
            row[j] = static_cast<std::uint8_t>(product / 255);
            product += i;
        }
    }
}

MultiplyTable::~MultiplyTable() = default;

std::shared_ptr<const MultiplyTable> MultiplyTable::shared() {
    static const std::shared_ptr<const MultiplyTable> table = std::make_shared<MultiplyTable>();
    return table;
}

} // namespace vardel
