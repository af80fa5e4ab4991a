#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vardel {

// Frame times of a benchmark run, kept per part, and the report made of them.
class BenchReport {
public:
    static constexpr int parts = 7;

    BenchReport(); // room for a whole demo's frames, so that recording allocates nothing

    void setLoadSeconds(double seconds) { loadSeconds = seconds; }
    void setThreads(int count) { threads = count; }
    void addFrame(int part, double seconds);

    // Statistics of one part, or of all frames with part = -1.
    struct Figures {
        std::int64_t frames = 0;
        double seconds = 0.0;     // the frames' total time
        double medianMs = 0.0;    // the middle frame time (mean of the two middle ones)
        double p99Ms = 0.0;       // 99 % of frames took at most this long (nearest rank)
        double framesPerSecond() const { return seconds > 0.0 ? static_cast<double>(frames) / seconds : 0.0; }
    };
    Figures figures(int part) const;

    // A table: the load time, then a line per part that ran and one for all of them.
    std::string text() const;

private:
    std::array<std::vector<float>, parts> times; // seconds per frame
    double loadSeconds = 0.0;
    int threads = 1; // the renderer's
};

} // namespace vardel
