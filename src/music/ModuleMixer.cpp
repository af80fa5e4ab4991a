#include "music/ModuleMixer.h"

#include <algorithm>
#include <libopenmpt/libopenmpt.hpp>
#include <libopenmpt/libopenmpt_ext.hpp>

#include "music/LoadedModule.h"

namespace vardel {

void ModuleMixer::start(LoadedModule& module, bool loop) {
    openmpt::module& player = *module.player;
    if (module.played) {
        player.set_position_order_row(0, 0);
    }
    module.played = true;
    // At the song's end the player returns no frames once and then goes on from the loop
    // point; the mixer counts the wrap or, for a play that does not loop, stops there.
    player.set_repeat_count(0);
    player.ctl_set_text("play.at_end", "continue");
    current = &module;
    setTimingOnly(timingOnly);
    looping = loop;
    finished = false;
    wrapped = false;
    playFrames = 0;
    lastOrder = -1;
    lastRow = -1;
    sync = 0;
    loops = 0;
    history.clear();
}

bool ModuleMixer::jumpToCue(int nibble) {
    if (current == nullptr) {
        return false;
    }
    openmpt::module& player = *current->player;
    const int patterns = player.get_num_patterns();
    for (int order = 0; order < player.get_num_orders(); ++order) {
        const int pattern = player.get_order_pattern(order);
        if (pattern < 0 || pattern >= patterns) {
            continue; // an order list marker, not a pattern
        }
        for (int row = 0; row < player.get_pattern_num_rows(pattern); ++row) {
            const int cue = current->cues.at(pattern, row);
            if (cue != SyncCues::none && (cue & 15) == nibble) {
                player.set_position_order_row(order, row);
                lastOrder = -1;
                lastRow = -1;
                sync = 0;
                history.clear();
                return true;
            }
        }
    }
    return false;
}

void ModuleMixer::setTimingOnly(bool on) {
    timingOnly = on;
    if (current != nullptr) {
        // Filter length 1: the nearest sample; 0: the library's default interpolation.
        current->player->set_render_param(openmpt::module::RENDER_INTERPOLATIONFILTER_LENGTH,
                                          on ? 1 : 0);
        // Muted channels are not mixed, which halves the work; the rows move on all the same.
        // Off again, each channel is as the file has it.
        if (current->interactive != nullptr) {
            for (std::size_t c = 0; c < current->mutedByFile.size(); ++c) {
                current->interactive->set_channel_mute_status(static_cast<std::int32_t>(c),
                                                              on || current->mutedByFile[c]);
            }
        }
    }
}

void ModuleMixer::stop() {
    current = nullptr;
    history.clear();
}

void ModuleMixer::noteRow(std::int64_t frame) {
    const openmpt::module& player = *current->player;
    const std::int32_t order = player.get_current_order();
    const std::int32_t row = player.get_current_row();
    if (order == lastOrder && row == lastRow && !wrapped) {
        return;
    }
    lastOrder = order;
    lastRow = row;
    wrapped = false;
    RowEvent event;
    event.frame = frame;
    event.order = order;
    event.pattern = player.get_current_pattern();
    event.row = row;
    const int cue = current->cues.at(event.pattern, row);
    event.cue = cue != SyncCues::none;
    if (event.cue) {
        sync = cue;
    }
    event.sync = sync;
    event.loops = loops;
    history.push(event);
}

std::size_t ModuleMixer::mix(std::span<float> out) {
    const std::size_t frames = out.size() / 2;
    std::size_t done = 0;
    bool lastReadEmpty = false;
    while (current != nullptr && !finished && done < frames) {
        // Slices end on multiples of sliceFrames counted from the play's start.
        const std::size_t toBoundary =
            static_cast<std::size_t>(sliceFrames - playFrames % sliceFrames);
        const std::size_t want = std::min(frames - done, toBoundary);
        const std::size_t got =
            current->player->read_interleaved_stereo(mixRate, want, out.data() + 2 * done);
        if (got == 0) {
            // The song's end. Two empty reads in a row: a song with no length at all.
            if (!looping || lastReadEmpty) {
                finished = true;
                break;
            }
            ++loops;
            wrapped = true;
            lastReadEmpty = true;
            continue;
        }
        lastReadEmpty = false;
        // After a read the player stands at the row of the last frame it mixed, so a row that
        // began inside this slice is noted at the slice's first frame.
        noteRow(framesOut + static_cast<std::int64_t>(done));
        done += got;
        playFrames += static_cast<std::int64_t>(got);
    }
    std::fill(out.begin() + static_cast<std::ptrdiff_t>(2 * done), out.end(), 0.0f);
    framesOut += static_cast<std::int64_t>(frames);
    return done;
}

RowEvent ModuleMixer::rowAt(std::int64_t frame) const {
    if (const RowEvent* event = history.playingAt(frame)) {
        return *event;
    }
    RowEvent start;
    start.frame = frame;
    if (current != nullptr && current->player->get_num_orders() > 0) {
        start.pattern = current->player->get_order_pattern(0);
    }
    return start;
}

} // namespace vardel
