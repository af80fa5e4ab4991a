#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "capture/FrameHash.h"
#include "effects/FrameBuffer.h"

namespace vardel {

// What a headless run keeps of the frames it presents: every Nth one as a PNG named by its
// frame number, and a line per frame with its part number and its hash.
class FrameRecorder {
public:
    struct Options {
        std::filesystem::path shotsDir; // empty: no pictures
        int every = 1;                  // a picture of every Nth frame, from frame 0
        std::FILE* hashOut = nullptr;   // null: no hash lines
    };

    explicit FrameRecorder(Options options) : options(std::move(options)) {}

    // Makes the pictures' folder. False with a reason naming it when it cannot be made.
    bool prepare(std::string* reason);
    // Records presented frame `number` (0 = first), drawn by `part`. A picture that cannot be
    // written makes this and every later call return false, with the reason in error().
    bool record(const FrameBuffer& frame, std::int64_t number, int part);

    const std::string& error() const { return failure; }
    // The file name of frame `number`'s picture.
    static std::string shotName(std::int64_t number);

private:
    Options options;
    std::string failure;
};

} // namespace vardel
