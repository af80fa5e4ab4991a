#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vardel {

// The video files a capture can make, by the output's extension.
enum class VideoFormat {
    None, // not a video: the output is a folder
    Mp4,  // H.264 and AAC
    Mkv,  // H.264 and Opus
    Webm, // VP9 and Opus
};

VideoFormat videoFormatOf(const std::filesystem::path& output);

// A video is made in two runs of ffmpeg: the first encodes the frames, fed as raw pixels on its
// standard input, into a file of pictures only; once the capture is over, the second puts
// that file and the captured audio together into the output, encoding the audio.
struct VideoJob {
    std::filesystem::path output; // the second run's file, in `format` whatever its name
    VideoFormat format = VideoFormat::Mp4;
    int width = 960; // of the frames fed, already scaled up
    int height = 720;
    int fps = 60;
    std::filesystem::path pictures; // the first run's file (Matroska)
    std::filesystem::path audio;    // the captured audio (WAV)
};

// ffmpeg's arguments for the first run: raw 32-bit pixels (0x00RRGGBB words, so blue, green,
// red, unused in memory) at the job's size and rate in, BT.709 4:2:0 video out.
std::vector<std::string> encodeArguments(const VideoJob& job);
// ffmpeg's arguments for the second run.
std::vector<std::string> muxArguments(const VideoJob& job);

} // namespace vardel
