#include "capture/BenchReport.h"

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>

namespace vardel {

namespace {
constexpr std::size_t framesPerPart = 16384; // a whole demo has under 10,000 frames in all
} // namespace

BenchReport::BenchReport() {
    for (auto& part : times) {
        part.reserve(framesPerPart);
    }
}

void BenchReport::addFrame(int part, double seconds) {
    times[static_cast<std::size_t>(std::clamp(part, 0, parts - 1))].push_back(
        static_cast<float>(seconds));
}

BenchReport::Figures BenchReport::figures(int part) const {
    std::vector<float> all;
    for (int p = 0; p < parts; ++p) {
        if (part < 0 || p == part) {
            all.insert(all.end(), times[p].begin(), times[p].end());
        }
    }
    Figures f;
    f.frames = static_cast<std::int64_t>(all.size());
    if (all.empty()) {
        return f;
    }
    for (const float t : all) {
        f.seconds += t;
    }
    std::sort(all.begin(), all.end());
    const std::size_t n = all.size();
    f.medianMs = 1000.0 * (n % 2 == 1 ? all[n / 2] : (double(all[n / 2 - 1]) + all[n / 2]) / 2.0);
    const auto rank = static_cast<std::size_t>(std::ceil(0.99 * static_cast<double>(n)));
    f.p99Ms = 1000.0 * all[std::clamp<std::size_t>(rank, 1, n) - 1];
    return f;
}

std::string BenchReport::text() const {
    std::string out;
    char line[128];
    std::snprintf(line, sizeof line, "loading the data: %.1f ms\n", loadSeconds * 1000.0);
    out += line;
    std::snprintf(line, sizeof line, "rendering threads: %d\n", threads);
    out += line;
    out += "part    frames   frames/s   median ms   p99 ms\n";
    auto row = [&](const char* name, const Figures& f) {
        std::snprintf(line, sizeof line, "%-4s %9" PRId64 " %10.0f %11.3f %8.3f\n", name,
                      f.frames, f.framesPerSecond(), f.medianMs, f.p99Ms);
        out += line;
    };
    for (int part = 0; part < parts; ++part) {
        const Figures f = figures(part);
        if (f.frames > 0) {
            const std::string name = std::to_string(part);
            row(name.c_str(), f);
        }
    }
    row("all", figures(-1));
    return out;
}

} // namespace vardel
