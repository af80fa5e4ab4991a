#include "capture/HeadlessDisplay.h"

#include <utility>

namespace vardel {

namespace {
int supportedDepth(int colorDepth) {
    return colorDepth == 16 || colorDepth == 24 ? colorDepth : 32;
}
} // namespace

HeadlessDisplay::HeadlessDisplay(int colorDepth, FrameSink sink)
    : Display(supportedDepth(colorDepth)), sink(std::move(sink)) {}

void HeadlessDisplay::present(const FrameBuffer& current) {
    ++frames;
    if (sink) {
        sink(current);
    }
}

} // namespace vardel
