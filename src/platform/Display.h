#pragma once

#include "effects/FrameBuffer.h"
#include "platform/FrameBufferSet.h"

#include <cstdint>
#include <functional>
#include <string>

namespace vardel {

// What the user asked for since the previous poll. The caller decides what follows: the demo
// ends with status 0 on quit and moves on one part per skip.
struct DisplayInput {
    bool quit = false; // Escape pressed, or the window closed
    int skips = 0;     // lowercase "n" typed this many times
};

// The picture output the timeline draws for: three 320 x 240 frame buffers of 32-bit pixels
// and, once per frame, the presentation of one of them at the display's colour depth. The
// window, a headless output and test doubles all sit behind this interface.
class Display {
public:
    virtual ~Display() = default;
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    // 16, 24 or 32: the depth frames are shown at.
    int colorDepth() const { return depth; }
    // Frame buffer 1, 2 or 3.
    FrameBuffer& frameBuffer(int number) { return buffers[number]; }

    // Shows the frame, waiting for the display's vertical sync where there is one.
    virtual void present(const FrameBuffer& current) = 0;
    // Handles every pending window event and reports the ones the caller acts on.
    virtual DisplayInput pollInput() = 0;

protected:
    explicit Display(int colorDepth) : depth(colorDepth) {}

private:
    FrameBufferSet buffers;
    int depth;
};

// The depths tried in turn when none was asked for.
inline constexpr int depthsToTry[] = {32, 24, 16};

struct DepthChoice {
    int depth = 0; // the depth of the last attempt: after success, the one in use
    bool ok = false;
};

// Tries the requested depth (16, 24 or 32) alone, or with any other request 32, 24 and 16 in
// turn until tryDepth accepts one.
DepthChoice chooseDepth(int requested, const std::function<bool(int depth)>& tryDepth);

// The text shown when setting up the display fails: the failing call's result as eight
// lowercase hexadecimal digits.
std::string initFailedText(std::uint32_t result);

} // namespace vardel
