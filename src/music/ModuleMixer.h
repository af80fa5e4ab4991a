#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "music/RowHistory.h"

namespace vardel {

struct LoadedModule;

// Output format of all music: 44.1 kHz, stereo frames of two 32-bit floats (left, right).
inline constexpr int mixRate = 44100;

// Mixes the playing module and follows the player's order and row as it goes, keeping the
// sync value of the rows reached. One module plays at a time. Not thread-safe: the sound
// library calls it under its lock.
class ModuleMixer {
public:
    // Rows are looked up after every slice of this many frames of a play, so a row's start is
    // known to within a slice; the slices are cut at the end of every mix call too, so the row
    // reported after a call is exactly the one of its last frame. 42 divides the 882 frames of
    // a tick at 125 BPM, which makes row starts at that tempo exact.
    static constexpr int sliceFrames = 42;

    // Plays `module` from its start at the next frame mixed. A looping play continues from the
    // song's loop point at its end, counting loops; any other play falls silent there.
    void start(LoadedModule& module, bool loop);
    void stop();
    // Moves the current play to the first row, in song order, whose cue has `nibble` in its
    // low four bits; the sync value then comes from that row on. False, changing nothing, when
    // nothing plays or no row has such a cue.
    bool jumpToCue(int nibble);
    const LoadedModule* playing() const { return current; }
    // A play that does not loop has reached the end of the song.
    bool ended() const { return current != nullptr && finished; }
    // Mixing for the play's position alone (true) or to be heard (false, the start): with
    // nobody to hear them, every channel is muted and samples are taken without
    // interpolation, at a fraction of the cost. Rows and cues come at the same frames either
    // way; only the samples differ.
    void setTimingOnly(bool on);

    // Mixes out.size() / 2 frames, silence where nothing plays. Returns how many of them came
    // from the module (fewer than asked when a play that does not loop ends).
    std::size_t mix(std::span<float> out);
    // Frames mixed since construction, playing or not.
    std::int64_t framesMixed() const { return framesOut; }
    // Rows reached by the current play, with their output frames.
    const RowHistory& rows() const { return history; }
    // The row playing at an output frame; before the play's first row, its start state
    // (order 0, row 0, sync 0).
    RowEvent rowAt(std::int64_t frame) const;

private:
    void noteRow(std::int64_t frame);

    LoadedModule* current = nullptr;
    bool looping = false;
    bool timingOnly = false;
    bool finished = false;
    bool wrapped = false;        // the song wrapped round since the last row noted
    std::int64_t framesOut = 0;  // all frames mixed
    std::int64_t playFrames = 0; // frames of the current play, where slices are counted from
    std::int32_t lastOrder = -1;
    std::int32_t lastRow = -1;
    std::int32_t sync = 0;
    std::uint32_t loops = 0;
    RowHistory history;
};

} // namespace vardel
