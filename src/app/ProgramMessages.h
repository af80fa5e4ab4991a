#pragma once

#include <cstdio>
#include <string>

namespace vardel {

// Says on stderr, as "vardel: TEXT", why the program cannot go on, and returns the exit status
// of such a failure (1).
inline int reportFailure(const std::string& text) {
    std::fprintf(stderr, "vardel: %s\n", text.c_str());
    return 1;
}

} // namespace vardel
