// The song's notation and the pattern builder: what a line of text turns into, and the
// mistakes in a score that they refuse.

#include <gtest/gtest.h>

#include <stdexcept>

#include "music/Arrangement.h"
#include "music/Score.h"

namespace vardel::makedata::music {
namespace {

using formats::xmEffect;
using formats::xmKeyOff;
using formats::xmNote;

std::vector<int> noteNumbers(const Line& line) {
    std::vector<int> numbers;
    for (const formats::XmCell& cell : line) {
        numbers.push_back(cell.note);
    }
    return numbers;
}

TEST(Score, NotesTakeOneRowEachWithSharpsFlatsKeyOffsAndVelocities) {
    const Line line = notes("C4 . C#4 Bb3 = A4:64 A4:32 G7", Instrument::Lead);
    EXPECT_EQ(noteNumbers(line),
              (std::vector<int>{xmNote(0, 4), 0, xmNote(1, 4), xmNote(10, 3), xmKeyOff,
                                xmNote(9, 4), xmNote(9, 4), xmNote(7, 7)}));
    EXPECT_EQ(line[0].instrument, static_cast<int>(Instrument::Lead));
    EXPECT_EQ(line[0].volume, 0); // no velocity: the sample's own volume
    EXPECT_EQ(line[5].volume, volumeFor(Instrument::Lead, 64));
    EXPECT_EQ(line[5].volume, 0x10 + mixLevel(Instrument::Lead));
    EXPECT_EQ(line[6].volume, 0x10 + (mixLevel(Instrument::Lead) + 1) / 2);
    EXPECT_EQ(line[4].instrument, 0); // a key off names no instrument
}

TEST(Score, RefusesBadTokensAndMisplacedBarLines) {
    const char* const wrong[] = {
        "H4",      "C8", "Cb0", "C#", "C44", "A4:65", "A4:", "A4:x", "?",
        ". . . |", // a bar line after 3 rows
        "| C4",    // before any row
    };
    for (const char* text : wrong) {
        EXPECT_THROW(notes(text, Instrument::Lead), std::invalid_argument) << text;
    }
    EXPECT_NO_THROW(notes(". . . . . . . . . . . . . . . . | C4", Instrument::Lead));
    Random random(1);
    EXPECT_THROW(hits("x..y", Instrument::Kick, random), std::invalid_argument);
    EXPECT_THROW(hits("x...|x", Instrument::Kick, random), std::invalid_argument);
    EXPECT_THROW(chord("H"), std::invalid_argument);
    EXPECT_THROW(arpeggio(progression("Am"), "0 1 2", 1), std::invalid_argument);
    EXPECT_THROW(bassLine(progression("Am"), "r................"), // a row too many
                 std::invalid_argument);
    EXPECT_THROW(arpeggio(progression("Am"), "9 . . . . . . . . . . . . . . .", 3),
                 std::invalid_argument); // above B-7
}

TEST(Score, HitsVaryTheirVelocityALittleAndSwitchToTheSecondDrum) {
    Random random(7);
    const Line line = hits("X x g . O o", Instrument::ClosedHat, random);
    ASSERT_EQ(line.size(), 6u);
    const int nominal[] = {62, 50, 30, 0, 60, 46};
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (nominal[i] == 0) {
            EXPECT_EQ(line[i].note, 0);
            continue;
        }
        const bool open = i >= 4;
        const Instrument drum = open ? Instrument::OpenHat : Instrument::ClosedHat;
        EXPECT_EQ(line[i].instrument, static_cast<int>(drum));
        EXPECT_GE(line[i].volume, volumeFor(drum, nominal[i] - 3)) << i;
        EXPECT_LE(line[i].volume, volumeFor(drum, nominal[i] + 3)) << i;
    }
}

TEST(Score, ChordLinesFollowTheProgressionBarByBar) {
    const Progression chords = progression("Am F");
    // The arpeggio counts up through the voicing (A3 C4 E4) an octave up, then the next octave.
    const Line arp = arpeggio(chords, "0 1 2 3 4 5 . . . . . . . . . 0:32", 1);
    ASSERT_EQ(arp.size(), 32u);
    const std::vector<int> played = noteNumbers(arp);
    EXPECT_EQ(std::vector<int>(played.begin(), played.begin() + 6),
              (std::vector<int>{xmNote(9, 4), xmNote(0, 5), xmNote(4, 5), xmNote(9, 5),
                                xmNote(0, 6), xmNote(4, 6)}));
    EXPECT_EQ(arp[16].note, xmNote(9, 4)); // F's voicing is A3 C4 F4
    EXPECT_EQ(arp[18].note, xmNote(5, 5));
    EXPECT_EQ(arp[31].volume, volumeFor(Instrument::Pluck, 32));

    // Am and F share their lowest voice, A3: it is held, not struck again.
    const Line low = padVoice(chords, 0, 48), high = padVoice(chords, 2, 48);
    EXPECT_EQ(low[0].note, xmNote(9, 3));
    EXPECT_EQ(low[16].note, 0);
    EXPECT_EQ(high[16].note, xmNote(5, 4));

    const Line bass = bassLine(chords, "r . R . f . = . . . . . . . . .");
    EXPECT_EQ(bass[0].note, xmNote(9, 1));
    EXPECT_EQ(bass[2].note, xmNote(9, 2));
    EXPECT_EQ(bass[4].note, xmNote(4, 2)); // the fifth above A1
    EXPECT_EQ(bass[6].note, xmKeyOff);
    EXPECT_EQ(bass[16].note, xmNote(5, 1));
}

TEST(PatternBuilder, RefusesNotesThatCollideOrRunPastThePattern) {
    PatternBuilder pattern;
    const Line one = notes("C4", Instrument::Lead);
    pattern.put(channel::lead, one, 63);
    EXPECT_THROW(pattern.put(channel::lead, one, 63), std::invalid_argument);
    EXPECT_THROW(pattern.put(channel::lead, notes(". C4", Instrument::Lead), 63),
                 std::invalid_argument);
    EXPECT_NO_THROW(pattern.put(channel::echo, one, 63)); // another channel
}

TEST(PatternBuilder, LeadEchoesThreeRowsLaterSofterAndOnTheOtherSide) {
    PatternBuilder builder;
    builder.lead(notes("C5 . A4:64 = . . . . . . . . . . . . | . . . . . . . . . . . . . . . . |"
                       " . . . . . . . . . . . . . . . . | . . . . . . . . . . . . . E5 . .",
                       Instrument::Lead));
    const formats::XmPattern pattern = builder.take();
    const formats::XmCell& lead = pattern.at(0, channel::lead);
    const formats::XmCell& echo = pattern.at(3, channel::echo);
    EXPECT_EQ(echo.note, lead.note);
    EXPECT_EQ(lead.effect, xmEffect('8'));
    EXPECT_EQ(echo.effect, xmEffect('8'));
    EXPECT_LT(lead.parameter, 0x80); // left of centre
    EXPECT_GT(echo.parameter, 0x80); // right of centre
    const int full = mixLevel(Instrument::Lead);
    EXPECT_EQ(echo.volume, 0x10 + full * 40 / 100);
    EXPECT_EQ(pattern.at(5, channel::echo).volume, 0x10 + full * 40 / 100);
    EXPECT_EQ(pattern.at(6, channel::echo).note, xmKeyOff);
    EXPECT_EQ(pattern.at(61, channel::lead).note, xmNote(4, 5));
    for (int row = 0; row < rowsPerPattern; ++row) {
        EXPECT_EQ(pattern.at(row, channel::echo).note == xmNote(4, 5), false) << row;
    }
}

} // namespace
} // namespace vardel::makedata::music
