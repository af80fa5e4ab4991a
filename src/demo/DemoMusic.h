#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace vardel {

class MusicPlayer;
class SoundLibrary;

// The music as the frame loop uses it: started once, polled for its sync value every frame
// while it plays, stopped once.
class DemoMusic {
public:
    virtual ~DemoMusic() = default;
    // Called once per frame, before the poll, with the ticks the frame's clock advanced.
    virtual void advance(double ticks) { (void)ticks; }
    // Starts looping playback; false when it cannot start.
    virtual bool play() = 0;
    // Starts looping playback at the first row whose cue's low four bits are `nibble`, the
    // cue that begins a later part; false when it cannot.
    virtual bool playFromCue(int nibble) {
        (void)nibble;
        return false;
    }
    // Started and not stopped since.
    virtual bool playing() const = 0;
    // The sync value of the music heard now.
    virtual std::int32_t poll() = 0;
    virtual void stop() = 0;
};

// Music played by the sound library in real time (its own output thread).
class PlayerMusic : public DemoMusic {
public:
    explicit PlayerMusic(MusicPlayer& player) : player(player) {}

    bool play() override;
    bool playFromCue(int nibble) override;
    bool playing() const override;
    std::int32_t poll() override;
    void stop() override;

protected:
    MusicPlayer& player;
};

// Music mixed in step with demo time by the frame loop itself: each frame mixes the audio of
// the ticks it advanced (735 frames of 44.1 kHz stereo per tick), so every sync cue arrives at
// the demo time at which it would be heard. The library must use its offline output.
class OfflineMusic final : public PlayerMusic {
public:
    // Receives each frame's audio: stereo frames of two floats (left, right).
    using AudioSink = std::function<void(std::span<const float> samples)>;

    // Without a sink, the library mixes for timing alone (SoundLibrary::mixForTimingOnly).
    OfflineMusic(MusicPlayer& player, SoundLibrary& library, AudioSink sink = {});

    void advance(double ticks) override;
    // The song has reached its end and started over since it began to play.
    bool wrapped() const;
    // Audio frames mixed so far.
    std::int64_t framesMixed() const { return mixed; }

private:
    SoundLibrary& library;
    AudioSink sink;
    std::vector<float> block; // reused for every frame
    double owed = 0.0;        // the fraction of an audio frame not mixed yet
    std::int64_t mixed = 0;
};

} // namespace vardel
