#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "capture/ChildProcess.h"
#include "capture/PngWriterPool.h"
#include "capture/VideoArguments.h"
#include "capture/WavWriter.h"
#include "effects/FrameBuffer.h"

namespace vardel {

// Where a capture goes and how it is made.
struct CaptureSettings {
    std::filesystem::path output; // a .mp4, .mkv or .webm file, or else a folder
    int fps = 60;
    int scale = 0;                // 0: 3 for a video, 1 for a folder
    const char* searchPath = nullptr; // where to look for ffmpeg (the PATH variable's value)
    StopFlag stopFlag = nullptr;      // once set, writing to and waiting for ffmpeg give up
};

// The recording of a capture: every frame and all the audio, in order. A folder receives the
// frames as NNNNNN.png (from 000000) and the audio as audio.wav, 16-bit stereo at 44.1 kHz; a
// video file is made by ffmpeg from the same pictures and sound, into OUTPUT.partial that
// becomes the output only once complete. The first failure is kept: later frames and audio are
// then ignored and finish() reports it.
class Capture {
public:
    Capture() = default;
    ~Capture(); // removes the partial files of a video that was not finished
    Capture(const Capture&) = delete;
    Capture& operator=(const Capture&) = delete;

    // Makes the folder, or finds ffmpeg and starts it. False with the reason when it cannot.
    bool open(const CaptureSettings& settings, std::string* reason);
    void addFrame(const FrameBuffer& frame);
    // Stereo frames of two floats, left and right.
    void addAudio(std::span<const float> samples);
    // Completes the files (for a video, the second ffmpeg run); false with the reason when
    // anything failed since open().
    bool finish(std::string* reason);
    // Stops ffmpeg and removes every file this capture made, finished or not: the partial files
    // and the video, or the frames and audio.wav it wrote and any folder it made for them. Files
    // that were in the folder before stay.
    void discard();

    bool failed() const { return !failure.empty(); }
    std::int64_t audioFrames() const { return audioFrameCount; }
    // The frames' width after scaling.
    int width() const { return job.width; }

private:
    bool fail(std::string text);
    void removePartialFiles();
    // The output is a video file, not a folder.
    bool isVideo() const { return job.format != VideoFormat::None; }

    VideoJob job; // its output is OUTPUT.partial
    std::filesystem::path output;
    std::filesystem::path ffmpeg;
    std::filesystem::path folder;
    std::filesystem::path madeFolder; // the outermost folder open() made; empty: none
    StopFlag stopFlag = nullptr;
    ChildProcess encoder;
    std::unique_ptr<PngWriterPool> pictures; // a folder's frames, written on worker threads
    WavWriter audio;
    int scale = 1;
    std::vector<std::uint32_t> scaled;  // one scaled frame, reused
    std::vector<std::int16_t> pcm;      // one frame's audio, reused
    std::int64_t frameCount = 0;
    std::int64_t audioFrameCount = 0;
    bool opened = false;
    bool begun = false;    // open() made the files
    bool complete = false; // finish() succeeded
    std::string failure;
};

} // namespace vardel
