// The arrangement of the demo's music, pattern by pattern, and its sync cues.
//
// At speed 6 and 125 BPM a row lasts 0.12 s, a 64-row pattern 7.68 s. The demo shows one part
// per section and moves on when the sync value's low digit names the running part, so each
// section change carries a cue on its first row:
//
//   orders  0- 1  title            (cue 01 at order 2 ends it)
//   orders  2- 5  paper boats      (02 at order 6)
//   orders  6- 7  second picture   (03 at order 8)
//   orders  8-11  boats again      (04 at order 12)
//   orders 12-15  grids            (05 at order 16; the grid switches 24, 34, 14, ... on beats)
//   orders 16-19  finale           (06 once the final chord has died away)

#include "music/Song.h"

#include <stdexcept>
#include <string>
#include <utility>

#include "Makedata.h"
#include "music/Arrangement.h"
#include "music/Instruments.h"
#include "music/Phrases.h"

namespace vardel::makedata::music {

namespace {

namespace p = phrase;

constexpr int orderCount = 20;
constexpr int finalCueRow = 56;

std::string fourBars(std::string_view bar, std::string_view last = {}) {
    const std::string_view end = last.empty() ? bar : last;
    return std::string(bar) + "|" + std::string(bar) + "|" + std::string(bar) + "|" +
           std::string(end);
}

std::string twoBars(std::string_view first, std::string_view second) {
    return std::string(first) + "|" + std::string(second);
}

// The whole band: drums, bass, pads, arpeggio and the lead. What stays the same through a
// section, then what changes from pattern to pattern.
struct Band {
    std::string_view kick, snare, bass, arp;
    int padVelocity;
    bool bells; // bells strike the first and the third chord
};
struct BandPattern {
    std::string_view chords, melody; // no melody: the lead rests
    std::string_view hats;
    int crash; // velocity of a crash on the first row; 0: none
};

// One pattern of the band. The last pattern of a section ends on a fill and the riser, which
// lead into the next section.
formats::XmPattern bandPattern(const Band& band, const BandPattern& entry, bool last,
                               Random& random) {
    const Progression harmony = progression(entry.chords);
    PatternBuilder pattern;
    if (entry.crash > 0) {
        pattern.crash(0, entry.crash);
    }
    auto drum = [&](std::string_view bar, std::string_view fill, Instrument instrument) {
        return hits(fourBars(bar, last ? fill : std::string_view{}), instrument, random);
    };
    pattern.put(channel::kick, drum(band.kick, {}, Instrument::Kick))
        .put(channel::snare, drum(band.snare, p::snareFill, Instrument::Snare))
        .put(channel::hats, drum(entry.hats, p::hatsEighths, Instrument::ClosedHat))
        .pads(harmony, band.padVelocity)
        .put(channel::bass, bassLine(harmony, band.bass))
        .put(channel::arp, arpeggio(harmony, band.arp, 1), 0, 0x60);
    if (!entry.melody.empty()) {
        pattern.lead(notes(entry.melody, Instrument::Lead));
    }
    if (band.bells) {
        pattern.bells(*harmony[0], 0, 44).bells(*harmony[2], 2 * rowsPerBar, 40);
    }
    if (last) {
        pattern.riser();
    }
    return pattern.take();
}

// The title: pads alone with a bell, the arpeggio joining halfway; then the drums gather.
formats::XmPattern title(int index, Random& random) {
    PatternBuilder pattern;
    if (index == 0) {
        pattern.pads(progression(p::verse), 40)
            .bells(chord("Am"), 0, 40)
            .put(channel::arp, arpeggio(progression("C G"), p::arpGentle, 1), 2 * rowsPerBar, 0x60);
        return pattern.take();
    }
    pattern.pads(progression(p::lift), 48)
        .put(channel::arp, arpeggio(progression(p::lift), p::arpGentle, 1), 0, 0x60)
        .put(channel::hats, hits(fourBars(p::hatsSoft), Instrument::ClosedHat, random))
        .put(channel::kick, hits(twoBars(p::kickHalf, p::kickBuild), Instrument::Kick, random),
             2 * rowsPerBar)
        .put(channel::snare, hits(p::snareRoll, Instrument::Snare, random), 3 * rowsPerBar)
        .riser();
    return pattern.take();
}

// The paper boats: the main theme, its answer, the theme again and its climb.
formats::XmPattern boats(int index, Random& random) {
    static constexpr Band band{p::kickFour, p::snareBack, p::bassOffbeat, p::arpRolling, 48, false};
    static constexpr BandPattern patterns[] = {{p::verse, p::themeCall, p::hatsOffbeat, 64},
                                               {p::lift, p::themeAnswer, p::hatsOffbeat, 0},
                                               {p::verse, p::themeCall, p::hatsEighths, 0},
                                               {p::lift, p::themeHigh, p::hatsEighths, 0}};
    return bandPattern(band, patterns[index], index == 3, random);
}

// The second picture: bells on every chord, long lines, the drums gathering at the end.
formats::XmPattern floating(int index, Random& random) {
    const Progression harmony = progression(index == 0 ? p::floatingA : p::floatingB);
    PatternBuilder pattern;
    if (index == 0) {
        pattern.crash(0);
    }
    for (std::size_t bar = 0; bar < harmony.size(); ++bar) {
        pattern.bells(*harmony[bar], static_cast<int>(bar) * rowsPerBar, bar == 0 ? 52 : 40);
    }
    pattern.pads(harmony, 52)
        .put(channel::bass, bassLine(harmony, p::bassHeld))
        .lead(notes(index == 0 ? p::floatingLineA : p::floatingLineB, Instrument::Lead));
    if (index == 1) {
        pattern
            .put(channel::hats,
                 hits(twoBars(p::hatsSoft, p::hatsEighths), Instrument::ClosedHat, random),
                 2 * rowsPerBar)
            .put(channel::snare, hits(p::snareRoll, Instrument::Snare, random), 3 * rowsPerBar)
            .riser();
    }
    return pattern.take();
}

// The boats again: a new progression, the arpeggio first, then the second melody.
formats::XmPattern journey(int index, Random& random) {
    static constexpr Band band{p::kickFour, p::snareBackGhost, p::bassEighths, p::arpClimbing, 44,
                               false};
    static constexpr BandPattern patterns[] = {{p::journey, {}, p::hatsEighths, 64},
                                               {p::journey, p::journeyLine, p::hatsEighths, 0},
                                               {p::journey, p::journeyReply, p::hatsEighths, 0},
                                               {p::journey, p::journeyLine, p::hatsEighths, 0}};
    return bandPattern(band, patterns[index], index == 3, random);
}

// The grids: the hardest drive, a crash on every pattern, open hi-hats.
formats::XmPattern grids(int index, Random& random) {
    static constexpr Band band{p::kickFour, p::snareBack, p::bassPulse, p::arpRolling, 44, false};
    static constexpr BandPattern patterns[] = {{p::drive, {}, p::hatsOpen, 64},
                                               {p::drive, p::driveLine, p::hatsOpen, 44},
                                               {p::drive, p::driveLineHigh, p::hatsOpen, 44},
                                               {p::drive, p::driveLine, p::hatsOpen, 44}};
    return bandPattern(band, patterns[index], index == 3, random);
}

// The finale: the theme comes home with bells, the band winds down, and the final chord.
formats::XmPattern finale(int index, Random& random) {
    static constexpr Band band{p::kickFour, p::snareBackGhost, p::bassOffbeat, p::arpRolling, 52,
                               true};
    static constexpr BandPattern patterns[] = {{p::verse, p::themeCall, p::hatsEighths, 64},
                                               {p::lift, p::themeAnswer, p::hatsEighths, 0}};
    if (index < 2) {
        return bandPattern(band, patterns[index], false, random);
    }
    PatternBuilder pattern;
    if (index == 2) {
        // Half-time drums that stop for the last bar.
        const Progression harmony = progression(p::homecoming);
        pattern.put(channel::kick, hits(fourBars(p::kickHalf, p::rest), Instrument::Kick, random))
            .put(channel::snare, hits(fourBars(p::snareHalf, p::rest), Instrument::Snare, random))
            .pads(harmony, 48)
            .put(channel::bass, bassLine(harmony, p::bassHeld))
            .lead(notes(p::homecomingLine, Instrument::Lead));
        return pattern.take();
    }
    // The final chord, A major, struck once and released after two bars; it has died away
    // before the song's last cue.
    pattern.pads(progression("A"), 52)
        .bells(chord("A"), 0, 48)
        .crash(0, 40)
        .put(channel::bass, notes("A1", Instrument::Bass))
        .put(channel::bass, notes("=", Instrument::Bass), 2 * rowsPerBar);
    for (int voice = 0; voice < 3; ++voice) {
        pattern.put(channel::pad + voice, notes("=", Instrument::Pad), 2 * rowsPerBar);
    }
    return pattern.take();
}

} // namespace

std::vector<SyncCue> syncCues() {
    std::vector<SyncCue> cues = {
        {0, 0, 0x00}, // the value from the first row: it ends no part
        {2, 0, 0x01}, {6, 0, 0x02}, {8, 0, 0x03}, {12, 0, 0x04},
    };
    // The grid switches of the fourth section: the high digit cycles 2, 3, 1 (never repeating
    // and never starting with the grid already shown), the low digit stays that of the
    // section before, so no switch ends the part. Every other beat, then on every beat.
    struct Run {
        int order, firstRow, step;
    };
    static constexpr Run runs[] = {{12, 16, 8}, {13, 0, 8}, {14, 0, 4}, {15, 0, 4}};
    static constexpr std::uint8_t grids[] = {0x24, 0x34, 0x14};
    std::size_t next = 0;
    for (const Run& run : runs) {
        for (int row = run.firstRow; row < rowsPerPattern; row += run.step) {
            cues.push_back({run.order, row, grids[next++ % 3]});
        }
    }
    cues.push_back({16, 0, 0x05});
    cues.push_back({orderCount - 1, finalCueRow, 0x06});
    return cues;
}

formats::XmModule composeSong() {
    formats::XmModule song;
    song.name = "Orvex Vardel";
    song.channels = channel::count;
    song.speed = 6;
    song.bpm = 125;
    song.instruments = makeInstruments();

    // Every section takes the next orders; drum velocities vary from one fixed seed.
    Random random(0x0c7a);
    using Section = formats::XmPattern (*)(int, Random&);
    static constexpr std::pair<Section, int> sections[] = {{title, 2},   {boats, 4}, {floating, 2},
                                                           {journey, 4}, {grids, 4}, {finale, 4}};
    for (const auto& [section, length] : sections) {
        for (int index = 0; index < length; ++index) {
            song.patterns.push_back(section(index, random));
        }
    }
    for (const SyncCue& cue : syncCues()) {
        formats::XmCell& cell =
            song.patterns.at(static_cast<std::size_t>(cue.order)).at(cue.row, channel::cue);
        cell.effect = formats::xmEffect('W');
        cell.parameter = cue.value;
    }
    for (std::size_t order = 0; order < song.patterns.size(); ++order) {
        song.orders.push_back(static_cast<std::uint8_t>(order));
    }
    return song;
}

} // namespace vardel::makedata::music

namespace vardel::makedata {

bool writeMusic(const std::filesystem::path& data, std::string& reason) {
    std::vector<std::uint8_t> bytes;
    try {
        bytes = formats::writeXm(music::composeSong());
    } catch (const std::invalid_argument& error) {
        reason = (data / "krs.xm").string() + ": " + error.what();
        return false;
    }
    return writeDataFile(data / "krs.xm", bytes, reason);
}

} // namespace vardel::makedata
