#include "platform/Display.h"

#include <cstdio>

namespace vardel {

DepthChoice chooseDepth(int requested, const std::function<bool(int depth)>& tryDepth) {
    DepthChoice choice;
    for (const int depth : depthsToTry) {
        if (requested == depth) {
            return {depth, tryDepth(depth)};
        }
    }
    for (const int depth : depthsToTry) {
        choice = {depth, tryDepth(depth)};
        if (choice.ok) {
            break;
        }
    }
    return choice;
}

std::string initFailedText(std::uint32_t result) {
    char text[64];
    std::snprintf(text, sizeof text, "Direct Draw Init Failed (%08lx)\n",
                  static_cast<unsigned long>(result));
    return text;
}

} // namespace vardel
