#include "capture/Capture.h"

#include <system_error>

#include "capture/FrameRecorder.h"
#include "effects/ScaleUp.h"
#include "music/PcmConversion.h"

namespace vardel {

namespace {
constexpr int frameWidth = 320;
constexpr int frameHeight = 240;
constexpr int channels = 2;
constexpr int sampleRate = 44100;

// The outermost of `folder` and its parents that does not exist yet; empty when `folder` does.
std::filesystem::path outermostMissing(const std::filesystem::path& folder) {
    std::filesystem::path missing;
    std::error_code error;
    for (std::filesystem::path at = folder; !at.empty() && !std::filesystem::exists(at, error);
         at = at.parent_path()) {
        missing = at;
        if (at == at.parent_path()) {
            break;
        }
    }
    return missing;
}

} // namespace

Capture::~Capture() {
    if (opened && isVideo()) {
        std::string ignored;
        audio.finish(&ignored);
        encoder.stop();
        removePartialFiles();
    }
}

bool Capture::fail(std::string text) {
    if (failure.empty()) {
        failure = std::move(text);
    }
    return false;
}

void Capture::removePartialFiles() {
    std::error_code ignored;
    std::filesystem::remove(job.pictures, ignored);
    std::filesystem::remove(job.audio, ignored);
    std::filesystem::remove(job.output, ignored);
}

bool Capture::open(const CaptureSettings& settings, std::string* reason) {
    output = settings.output;
    stopFlag = settings.stopFlag;
    job.format = videoFormatOf(settings.output);
    job.fps = settings.fps;
    scale = settings.scale > 0 ? settings.scale : isVideo() ? 3 : 1;
    job.width = frameWidth * scale;
    job.height = frameHeight * scale;
    const std::string out = settings.output.string();
    std::error_code error;

    std::filesystem::path audioPath;
    if (isVideo()) {
        ffmpeg = findOnPath("ffmpeg", settings.searchPath);
        if (ffmpeg.empty()) {
            *reason = "cannot capture to " + out +
                      ": ffmpeg was not found on PATH (install it, as scripts/install-deps.sh "
                      "does, or capture to a folder of PNG frames instead)";
            return false;
        }
        const std::filesystem::path parent = settings.output.parent_path();
        if (!parent.empty() && !std::filesystem::is_directory(parent, error)) {
            *reason = "cannot capture to " + out + ": there is no folder " + parent.string();
            return false;
        }
        job.pictures = out + ".pictures.partial";
        job.audio = out + ".audio.partial";
        job.output = out + ".partial";
        audioPath = job.audio;
    } else {
        folder = settings.output;
        madeFolder = outermostMissing(folder);
        std::filesystem::create_directories(folder, error);
        if (error || !std::filesystem::is_directory(folder)) {
            *reason = out + ": cannot make the folder" + (error ? ": " + error.message() : "");
            return false;
        }
        audioPath = folder / "audio.wav";
    }
    if (!audio.open(audioPath, channels, sampleRate, reason)) {
        return false;
    }
    opened = true;
    begun = true;
    encoder.stopOn(stopFlag);
    if (isVideo() && !encoder.start(ffmpeg, encodeArguments(job), true, reason)) {
        return false;
    }
    scaled.resize(static_cast<std::size_t>(job.width) * job.height);
    if (!isVideo()) {
        pictures = std::make_unique<PngWriterPool>(job.width, job.height,
                                                   PngWriterPool::defaultWorkers());
    }
    return true;
}

void Capture::addFrame(const FrameBuffer& frame) {
    if (failed() || !opened) {
        return;
    }
    const std::int64_t number = frameCount++;
    if (!scaleUp(frame, scale, scaled)) {
        fail("frame " + std::to_string(number) + " is not 320 x 240");
        return;
    }
    if (isVideo()) {
        if (!encoder.write(scaled.data(), scaled.size() * sizeof(std::uint32_t))) {
            fail("ffmpeg stopped taking frames at frame " + std::to_string(number) +
                 " (its message, if any, is above)");
        }
        return;
    }
    if (!pictures->add(folder / FrameRecorder::shotName(number), scaled.data())) {
        std::string reason;
        pictures->finish(false, &reason);
        fail(reason);
    }
}

void Capture::addAudio(std::span<const float> samples) {
    if (failed() || !opened) {
        return;
    }
    pcm.resize(samples.size()); // grows to one frame's audio once, then stays
    floatToPcm16(samples, pcm);
    audio.write(pcm);
    audioFrameCount += static_cast<std::int64_t>(samples.size() / channels);
}

bool Capture::finish(std::string* reason) {
    if (!opened) {
        *reason = failure.empty() ? "the capture was not opened" : failure;
        return false;
    }
    opened = false;
    std::string problem;
    if (pictures && !pictures->finish(true, &problem)) {
        fail(problem);
    }
    const bool audioOk = audio.finish(&problem);
    if (!audioOk) {
        fail(problem);
    }
    if (isVideo()) {
        std::string encoderProblem;
        if (!encoder.finish(&encoderProblem)) {
            fail("encoding the frames: " + encoderProblem);
        }
        if (!failed() && !runProgram(ffmpeg, muxArguments(job), &problem, stopFlag)) {
            fail("putting pictures and sound together into " + output.string() + ": " + problem);
        }
        std::error_code error;
        if (!failed()) {
            std::filesystem::rename(job.output, output, error);
        }
        if (error) {
            fail("cannot rename " + job.output.string() + " to " + output.string() + ": " +
                 error.message());
        }
        removePartialFiles();
    }
    if (failed()) {
        *reason = failure;
        return false;
    }
    complete = true;
    return true;
}

void Capture::discard() {
    if (pictures) {
        std::string ignored;
        pictures->finish(false, &ignored); // no frame is being written once it returns
    }
    if (opened) {
        std::string ignored;
        audio.finish(&ignored); // closed before it goes
        opened = false;
    }
    encoder.stop();
    if (!begun) {
        return;
    }
    std::error_code ignored;
    if (isVideo()) {
        removePartialFiles();
        if (complete) {
            std::filesystem::remove(output, ignored);
        }
        return;
    }
    // Only what this capture wrote: the folder may hold files of the user's.
    for (std::int64_t number = 0; number < frameCount; ++number) {
        std::filesystem::remove(folder / FrameRecorder::shotName(number), ignored);
    }
    std::filesystem::remove(folder / "audio.wav", ignored);
    if (madeFolder.empty()) {
        return;
    }
    // The folders open() made, innermost first; remove() leaves a folder that is not empty.
    for (std::filesystem::path at = folder; !at.empty(); at = at.parent_path()) {
        std::filesystem::remove(at, ignored);
        if (at == madeFolder || at == at.parent_path()) {
            break;
        }
    }
}

} // namespace vardel
