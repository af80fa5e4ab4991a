#pragma once

#include "platform/Display.h"

#include <cstdint>
#include <functional>

namespace vardel {

// A display without a window: frames are handed to an optional sink (to be saved, compared or
// dropped) and no input ever arrives.
class HeadlessDisplay final : public Display {
public:
    using FrameSink = std::function<void(const FrameBuffer& frame)>;

    // A depth other than 16, 24 or 32 counts as 32.
    explicit HeadlessDisplay(int colorDepth = 32, FrameSink sink = {});

    void present(const FrameBuffer& current) override;
    DisplayInput pollInput() override { return {}; }

    std::int64_t presentedFrames() const { return frames; }

private:
    FrameSink sink;
    std::int64_t frames = 0;
};

} // namespace vardel
