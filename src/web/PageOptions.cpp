#include "web/PageOptions.h"

#include <charconv>

namespace vardel {

namespace {

bool readWhole(std::string_view text, std::int64_t low, std::int64_t high, std::int64_t& value) {
    const char* last = text.data() + text.size();
    const auto [end, problem] = std::from_chars(text.data(), last, value);
    return problem == std::errc{} && end == last && value >= low && value <= high;
}

} // namespace

bool parsePageQuery(std::string_view query, PageOptions& options, std::string& reason) {
    if (!query.empty() && query.front() == '?') {
        query.remove_prefix(1);
    }
    while (!query.empty()) {
        const std::size_t amp = query.find('&');
        const std::string_view item = query.substr(0, amp);
        query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
        if (item.empty()) {
            continue;
        }
        const std::size_t eq = item.find('=');
        const std::string_view name = item.substr(0, eq);
        const std::string_view value =
            eq == std::string_view::npos ? std::string_view() : item.substr(eq + 1);
        std::int64_t number = 0;
        if (name == "check") {
            if (!readWhole(value, 1, 1'000'000, number)) {
                reason = "check= needs a number of frames from 1 to 1000000, not \"" +
                         std::string(value) + "\"";
                return false;
            }
            options.checkFrames = number;
        } else if (name == "part") {
            if (!readWhole(value, 1, 6, number)) {
                reason = "part= needs a part number from 1 to 6, not \"" + std::string(value) + "\"";
                return false;
            }
            options.part = static_cast<int>(number);
        } else if (name == "muted") {
            options.muted = true;
        } else {
            reason = "unknown page parameter \"" + std::string(name) +
                     "\" (the page knows check=N, part=N and muted)";
            return false;
        }
    }
    if (options.checkFrames > 0 && (options.part != 0 || options.muted)) {
        reason = "check= goes alone: it renders from the start, without sound";
        return false;
    }
    return true;
}

} // namespace vardel
