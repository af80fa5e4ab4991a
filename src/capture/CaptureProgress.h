#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

namespace vardel {

// Where a capture stands, for its progress line.
struct CaptureStatus {
    int part = 0;
    std::int64_t frame = 0;       // frames captured
    double capturedSeconds = 0.0; // demo time captured
    double totalSeconds = 0.0;    // demo time the whole capture should take; 0: not known
    double wallSeconds = 0.0;     // real time spent so far
};

// The progress line: a bar, the part, the frame, the demo time captured (and of how much) and
// the real time left, estimated from the pace so far:
//   [#########...........]  45%  part 3  frame 4380  1:13.0 of 2:42.3  about 0:48 left
std::string progressLine(const CaptureStatus& status);

// Shows the progress of a capture on a stream (stderr): on a terminal one line redrawn in
// place a few times a second; elsewhere (a log) a line per part.
class CaptureProgress {
public:
    CaptureProgress(std::FILE* out, bool terminal, double totalSeconds);

    void update(int part, std::int64_t frame, double capturedSeconds);
    // The final line, with the real time the capture took.
    void done(std::int64_t frames, double capturedSeconds);
    // On a terminal, clears the line (of progress, or the ^C echoed there) for another message.
    void clear();

private:
    double wallSeconds() const;

    std::FILE* out;
    bool terminal;
    double totalSeconds;
    std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
    double lastShown = -1.0;
    int lastPart = -1;
};

} // namespace vardel
