#include "capture/CaptureProgress.h"

#include <algorithm>
#include <cinttypes>
#include <cmath>

namespace vardel {

namespace {

constexpr int barWidth = 20;
constexpr double redrawSeconds = 0.2;

// m:ss, or m:ss.t with tenths.
std::string clockText(double seconds, bool tenths) {
    seconds = std::max(seconds, 0.0);
    char text[32];
    if (tenths) {
        const auto total = static_cast<std::int64_t>(std::floor(seconds * 10.0));
        std::snprintf(text, sizeof text, "%" PRId64 ":%02" PRId64 ".%" PRId64, total / 600,
                      total / 10 % 60, total % 10);
    } else {
        const auto total = static_cast<std::int64_t>(std::ceil(seconds));
        std::snprintf(text, sizeof text, "%" PRId64 ":%02" PRId64, total / 60, total % 60);
    }
    return text;
}

} // namespace

std::string progressLine(const CaptureStatus& status) {
    const bool known = status.totalSeconds > 0.0;
    // The estimate of the total can be a little short: the bar stops at 99 % until the end.
    const double fraction =
        known ? std::clamp(status.capturedSeconds / status.totalSeconds, 0.0, 0.99) : 0.0;
    std::string line = "[";
    const int filled = static_cast<int>(fraction * barWidth);
    line.append(static_cast<std::size_t>(filled), '#');
    line.append(static_cast<std::size_t>(barWidth - filled), known ? '.' : '?');
    char numbers[96];
    std::snprintf(numbers, sizeof numbers, "] %3d%%  part %d  frame %" PRId64 "  ",
                  static_cast<int>(fraction * 100.0), status.part, status.frame);
    line += numbers;
    line += clockText(status.capturedSeconds, true);
    if (known) {
        line += " of " + clockText(status.totalSeconds, true);
        if (status.capturedSeconds > 0.0 && status.wallSeconds > 0.0) {
            const double left = status.wallSeconds *
                                std::max(status.totalSeconds - status.capturedSeconds, 0.0) /
                                status.capturedSeconds;
            line += "  about " + clockText(left, false) + " left";
        }
    }
    return line;
}

CaptureProgress::CaptureProgress(std::FILE* out, bool terminal, double totalSeconds)
    : out(out), terminal(terminal), totalSeconds(totalSeconds) {}

double CaptureProgress::wallSeconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
}

void CaptureProgress::update(int part, std::int64_t frame, double capturedSeconds) {
    const double wall = wallSeconds();
    const bool newPart = part != lastPart;
    if (terminal ? wall - lastShown < redrawSeconds && !newPart : !newPart) {
        return;
    }
    lastShown = wall;
    lastPart = part;
    const std::string line =
        progressLine({part, frame, capturedSeconds, totalSeconds, wall});
    // On a terminal: back to the line's start and clear it, so a shorter line leaves no tail.
    std::fprintf(out, terminal ? "\r\033[K%s" : "%s\n", line.c_str());
    std::fflush(out);
}

void CaptureProgress::clear() {
    if (terminal) {
        std::fputs("\r\033[K", out);
    }
}

void CaptureProgress::done(std::int64_t frames, double capturedSeconds) {
    clear();
    std::fprintf(out, "captured %" PRId64 " frames, %s of demo time, in %.1f s\n", frames,
                 clockText(capturedSeconds, true).c_str(), wallSeconds());
    std::fflush(out);
}

} // namespace vardel
