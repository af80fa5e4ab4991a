#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vardel {

// What the page's address asks for, from its query string:
//   ?check=N          frames 0 ... N-1 rendered as `vardel --headless --hash` renders them
//   ?part=N[&muted]   the demo from part N (1 ... 6); muted: no sound, and no click to start
struct PageOptions {
    std::int64_t checkFrames = 0; // 0: play the demo
    int part = 0;                 // 0: from the lead-in
    bool muted = false;
};

// Reads a query string ("?a=1&b" or "a=1&b", empty for none). False, with a one-line reason
// naming the parameter, for a parameter it does not know or a value it cannot use.
bool parsePageQuery(std::string_view query, PageOptions& options, std::string& reason);

} // namespace vardel
