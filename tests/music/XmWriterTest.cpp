// The XM writer: what libopenmpt reads back from its files, the delta-coded sample data, the
// envelopes at work, and the modules it refuses.

#include <gtest/gtest.h>

#include <libopenmpt/libopenmpt.hpp>

#include <cmath>
#include <sstream>

#include "formats/XmWriter.h"
#include "music/CueModule.h"

namespace vardel {
namespace {

using formats::XmModule;

openmpt::module open(const XmModule& module) {
    static std::ostringstream log;
    return openmpt::module(formats::writeXm(module), log);
}

// Speed and tempo, a cell with every field and a key off. libopenmpt numbers notes an octave
// above the format: C-0 is its note 13.
TEST(XmWriter, LibopenmptReadsBackTheHeaderAndPackedCells) {
    XmModule module = test::cueSong();
    module.speed = 5;
    module.bpm = 140;
    module.patterns[1].at(7, 1) = {formats::xmNote(11, 7), 1, 0x50, formats::xmEffect('A'), 0x0F};
    const openmpt::module read = open(module);
    EXPECT_EQ(read.get_current_speed() * 1000 + read.get_current_tempo(), 5140);
    using M = openmpt::module;
    auto field = [&](int pattern, int row, int channel, int command) {
        return int(read.get_pattern_row_channel_command(pattern, row, channel, command));
    };
    EXPECT_EQ((std::vector{field(1, 7, 1, M::command_note), field(1, 7, 1, M::command_instrument),
                           field(1, 7, 1, M::command_volume), field(1, 7, 1, M::command_parameter),
                           field(2, 2, 0, M::command_note)}),
              (std::vector{formats::xmNote(11, 7) + 12, 1, 0x40, 0x0F, 255}));
    EXPECT_EQ(read.format_pattern_row_channel_command(1, 7, 1, M::command_effect), "A");
}

// The sample data is the file's tail: decode it and compare with what was written.
TEST(XmWriter, SampleDataIsDeltaCodedAtEitherWidthAcrossTheWrapAround) {
    const std::vector<std::int16_t> pcm = {0, 32767, -32768, -1, 256, -257, 12345, 0};
    for (bool sixteenBit : {true, false}) {
        XmModule module = test::cueSong();
        module.instruments[0].samples[0].pcm = pcm;
        module.instruments[0].samples[0].loopLength = 0;
        module.instruments[0].samples[0].sixteenBit = sixteenBit;
        const std::vector<std::uint8_t> bytes = formats::writeXm(module);
        const std::size_t width = sixteenBit ? 2 : 1;
        const std::size_t start = bytes.size() - pcm.size() * width;
        int value = 0;
        for (std::size_t i = 0; i < pcm.size(); ++i) {
            const std::uint8_t* at = &bytes[start + i * width];
            value += sixteenBit ? static_cast<std::int16_t>(at[0] | at[1] << 8)
                                : static_cast<std::int8_t>(at[0]);
            value = sixteenBit ? static_cast<std::int16_t>(value) : static_cast<std::int8_t>(value);
            EXPECT_EQ(value, sixteenBit ? pcm[i] : pcm[i] >> 8) << i << " " << sixteenBit;
        }
        EXPECT_NO_THROW(open(module));
    }
}

double loudness(openmpt::module& player, std::size_t frames) {
    std::vector<float> out(2 * frames);
    player.read_interleaved_stereo(44100, frames, out.data());
    double sum = 0;
    for (float sample : out) {
        sum += double(sample) * sample;
    }
    return std::sqrt(sum / double(out.size()));
}

TEST(XmWriter, VolumeEnvelopeAndFadeoutShapeTheSound) {
    XmModule module = test::cueSong(false);
    // Full volume, down to silence by tick 4, held there.
    module.instruments[0].volumeEnvelope.points = {{0, 64}, {2, 64}, {4, 0}};
    module.instruments[0].volumeEnvelope.sustain = 2;
    openmpt::module shaped = open(module), unshaped = open(test::cueSong(false));
    // Loud over the first two ticks; silent after tick 4 only where shaped.
    EXPECT_GT(std::min(loudness(shaped, 1764), loudness(unshaped, 1764)), 0.05);
    loudness(shaped, 3528);
    loudness(unshaped, 3528);
    EXPECT_LT(loudness(shaped, 4000), 1e-4);
    EXPECT_GT(loudness(unshaped, 4000), 0.05);
}

TEST(XmWriter, RefusesModulesTheFormatCannotHoldNamingTheField) {
    const struct {
        const char* field;
        void (*spoil)(XmModule&);
    } cases[] = {
        {"channel count", [](XmModule& m) { m.channels = 33; }},
        {"order table names pattern 9", [](XmModule& m) { m.orders.push_back(9); }},
        {"module name", [](XmModule& m) { m.name = "a name longer than twenty"; }},
        {"pattern 1 has 3 channels",
         [](XmModule& m) {
             m.patterns[1] = {8, 3};
         }},
        {"pattern 0 holds note 98", [](XmModule& m) { m.patterns[0].at(1, 1).note = 98; }},
        {"more than 12 points",
         [](XmModule& m) {
             m.instruments[0].volumeEnvelope.points.resize(13, {0, 10});
         }},
        {"sustain point",
         [](XmModule& m) {
             m.instruments[0].volumeEnvelope.points = {{0, 3}};
             m.instruments[0].volumeEnvelope.sustain = 1;
         }},
        {"sample 0 loop start", [](XmModule& m) { m.instruments[0].samples[0].loopStart = 1; }},
        {"maps a note to sample 1", [](XmModule& m) { m.instruments[0].sampleForNote[40] = 1; }},
        {"instrument 1 header size", [](XmModule& m) { m.instruments[0].headerSize = 262; }},
    };
    for (const auto& c : cases) {
        XmModule module = test::cueSong();
        c.spoil(module);
        try {
            formats::writeXm(module);
            ADD_FAILURE() << "accepted: " << c.field;
        } catch (const std::invalid_argument& error) {
            EXPECT_NE(std::string(error.what()).find(c.field), std::string::npos) << error.what();
        }
    }
}

} // namespace
} // namespace vardel
