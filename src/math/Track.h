#pragma once

#include <array>
#include <concepts>
#include <cstddef>
#include <span>

namespace vardel {

// Which interpolant a track uses at one time, and from which key on.
enum class TrackForm { none, exact, linear, quadratic, cubic };

struct TrackSegment {
    TrackForm form = TrackForm::none;
    int first = 0; // the key copied (exact) or the first key of the polynomial
};

// Number of keys a form reads, starting at TrackSegment::first.
constexpr int keysUsed(TrackForm form) {
    switch (form) {
    case TrackForm::none:
        return 0;
    case TrackForm::exact:
        return 1;
    case TrackForm::linear:
        return 2;
    case TrackForm::quadratic:
        return 3;
    case TrackForm::cubic:
        return 4;
    }
    return 0;
}

// Chooses the keys for time t from the key frames, which increase strictly. A time equal to
// a key's frame copies that key; a time past the last key holds the last key. Between keys
// the segment ending at key k uses the cubic through keys k-2 .. k+1 inside the track, the
// quadratic through the three keys at either end, and the line of a two-key track. Before
// the first key of a track of two or more keys nothing is written. A one-key track holds
// its key at every time, since there is nothing to interpolate.
template <typename FrameOf>
requires std::invocable<const FrameOf&, int> TrackSegment findTrackSegment(int count, double t,
                                                                           const FrameOf& frameOf) {
    if (count <= 0) {
        return {};
    }
    if (count == 1) {
        return {TrackForm::exact, 0};
    }
    const int last = count - 1;
    for (int k = 0; k < count; ++k) {
        const double frame = frameOf(k);
        if (t == frame) {
            return {TrackForm::exact, k};
        }
        if (t < frame) {
            if (k == 0) {
                return {};
            }
            if (k == 1) {
                return count == 2 ? TrackSegment{TrackForm::linear, 0}
                                  : TrackSegment{TrackForm::quadratic, 0};
            }
            if (k <= last - 1) {
                return {TrackForm::cubic, k - 2};
            }
            return {TrackForm::quadratic, k - 2};
        }
    }
    // Past the last key (or an unordered time such as NaN): hold the last key.
    return {TrackForm::exact, last};
}

// Value at t of the lowest-degree polynomial through (frames[i], values[i]) for the keys the
// form uses, in Newton form with divided differences, nested as written so that every
// channel rounds the same way. Exact returns values[0]; none is not evaluated.
double newtonValue(TrackForm form, const double* frames, const double* values, double t);

// A key record: a frame and an array `channels` of pointers to its double members.
template <typename KeyT>
concept TrackKey = requires(const KeyT& key) {
    { key.frame } -> std::convertible_to<double>;
    { key.*(KeyT::channels[0]) } -> std::convertible_to<double>;
};

template <typename KeyT>
constexpr std::size_t channelCount = std::tuple_size_v<decltype(KeyT::channels)>;

// Evaluates every channel of a track at t into out, in the key's channel order. Returns
// false, leaving out untouched, when the track writes nothing at t.
template <TrackKey KeyT>
bool evaluateTrack(std::span<const KeyT> keys, double t,
                   std::array<double, channelCount<KeyT>>& out) {
    const int count = static_cast<int>(keys.size());
    const TrackSegment segment =
        findTrackSegment(count, t, [&](int k) { return keys[static_cast<std::size_t>(k)].frame; });
    const int used = keysUsed(segment.form);
    if (used == 0) {
        return false;
    }
    std::array<double, 4> frames{};
    std::array<double, 4> values{};
    for (int i = 0; i < used; ++i) {
        frames[static_cast<std::size_t>(i)] =
            keys[static_cast<std::size_t>(segment.first + i)].frame;
    }
    for (std::size_t c = 0; c < out.size(); ++c) {
        for (int i = 0; i < used; ++i) {
            values[static_cast<std::size_t>(i)] =
                keys[static_cast<std::size_t>(segment.first + i)].*(KeyT::channels[c]);
        }
        out[c] = newtonValue(segment.form, frames.data(), values.data(), t);
    }
    return true;
}

} // namespace vardel
