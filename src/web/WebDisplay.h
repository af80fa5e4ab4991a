#pragma once

#include <cstdint>
#include <vector>

#include "platform/Display.h"

namespace vardel {

// The display in a browser page: each presented frame goes to the page's canvas as RGBA (the
// page scales it to fit, nearest neighbour), and the keys come from the document: Escape ends
// the demo, a lowercase "n" skips a part. Full screen is the page's own business.
class WebDisplay final : public Display {
public:
    WebDisplay();
    ~WebDisplay() override;
    WebDisplay(const WebDisplay&) = delete;
    WebDisplay& operator=(const WebDisplay&) = delete;

    void present(const FrameBuffer& current) override;
    DisplayInput pollInput() override;

    // What a key press means: Escape quits, exactly "n" without Ctrl, Alt or Meta skips.
    // Returns false for keys the display leaves to the page.
    static bool applyKey(const char* key, bool ctrl, bool alt, bool meta, DisplayInput& input);

private:
    std::vector<std::uint32_t> rgba; // one frame, reused
    DisplayInput pending;
};

} // namespace vardel
