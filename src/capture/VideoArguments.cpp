#include "capture/VideoArguments.h"

#include <algorithm>
#include <cctype>

namespace vardel {

VideoFormat videoFormatOf(const std::filesystem::path& output) {
    std::string extension = output.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".mp4") {
        return VideoFormat::Mp4;
    }
    if (extension == ".mkv") {
        return VideoFormat::Mkv;
    }
    if (extension == ".webm") {
        return VideoFormat::Webm;
    }
    return VideoFormat::None;
}

std::vector<std::string> encodeArguments(const VideoJob& job) {
    std::vector<std::string> args = {
        "-hide_banner", "-loglevel", "error", "-y",
        "-f", "rawvideo", "-pixel_format", "bgr0",
        "-video_size", std::to_string(job.width) + "x" + std::to_string(job.height),
        "-framerate", std::to_string(job.fps), "-i", "pipe:0",
        // The frames are RGB; players assume BT.709 for video of this size, so convert with
        // that matrix and say so in the stream.
        "-vf", "scale=out_color_matrix=bt709:out_range=tv,format=yuv420p",
        "-colorspace", "bt709", "-color_primaries", "bt709", "-color_trc", "bt709",
    };
    if (job.format == VideoFormat::Webm) {
        args.insert(args.end(), {"-c:v", "libvpx-vp9", "-crf", "20", "-b:v", "0", "-row-mt", "1",
                                 "-deadline", "good", "-cpu-used", "4"});
    } else {
        args.insert(args.end(), {"-c:v", "libx264", "-preset", "fast", "-crf", "14"});
    }
    args.insert(args.end(), {"-an", "-f", "matroska", job.pictures.string()});
    return args;
}

std::vector<std::string> muxArguments(const VideoJob& job) {
    std::vector<std::string> args = {
        "-hide_banner", "-loglevel", "error", "-y",
        "-i", job.pictures.string(), "-i", job.audio.string(),
        "-map", "0:v:0", "-map", "1:a:0", "-c:v", "copy",
    };
    if (job.format == VideoFormat::Mp4) {
        args.insert(args.end(), {"-c:a", "aac", "-b:a", "256k", "-movflags", "+faststart"});
    } else {
        args.insert(args.end(), {"-c:a", "libopus", "-b:a", "192k"});
    }
    const char* muxer = job.format == VideoFormat::Mp4    ? "mp4"
                        : job.format == VideoFormat::Webm ? "webm"
                                                          : "matroska";
    args.insert(args.end(), {"-f", muxer, job.output.string()});
    return args;
}

} // namespace vardel
