#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vardel::formats {

// One cell of a pattern. Zero in a field means "nothing there".
struct XmCell {
    std::uint8_t note = 0;       // 1 = C-0 ... 96 = B-7, 97 = key off
    std::uint8_t instrument = 0; // 1 ... 128
    std::uint8_t volume = 0;     // volume column byte: 0x10 ... 0x50 sets volume 0 ... 64
    std::uint8_t effect = 0;     // effect number: 0 ... 9, then A = 10 ... Z = 35
    std::uint8_t parameter = 0;
};

inline constexpr std::uint8_t xmKeyOff = 97;

// Effect numbers by their letter as trackers show them ('A' ... 'Z'; digits are themselves).
constexpr std::uint8_t xmEffect(char letter) {
    return letter <= '9' ? static_cast<std::uint8_t>(letter - '0')
                         : static_cast<std::uint8_t>(letter - 'A' + 10);
}

// The note number of a note name's parts: semitone 0 (C) ... 11 (B), octave 0 ... 7.
constexpr std::uint8_t xmNote(int semitone, int octave) {
    return static_cast<std::uint8_t>(octave * 12 + semitone + 1);
}

struct XmPattern {
    XmPattern(int rowCount, int channelCount);
    XmCell& at(int row, int channel);
    const XmCell& at(int row, int channel) const;

    int rows;
    int channels;
    std::vector<XmCell> cells; // row by row
};

// Up to twelve points of (tick, value 0 ... 64); the first point's tick must be 0.
struct XmEnvelope {
    struct Point {
        std::uint16_t tick;
        std::uint16_t value;
    };
    std::vector<Point> points;
    std::optional<int> sustain;   // index of the sustain point
    std::optional<int> loopStart; // indices of the loop's points
    std::optional<int> loopEnd;
};

struct XmSample {
    std::string name;
    std::vector<std::int16_t> pcm; // full 16-bit values; an 8-bit sample keeps their high bytes
    bool sixteenBit = true;
    int loopStart = 0;  // in sample frames
    int loopLength = 0; // 0: no loop
    bool pingPong = false;
    int volume = 64;      // 0 ... 64
    int finetune = 0;     // -128 ... 127
    int panning = 128;    // 0 ... 255
    int relativeNote = 0; // -96 ... 95 semitones; 0 plays the data at 8363 Hz on C-4
};

struct XmInstrument {
    std::string name;
    std::vector<XmSample> samples;                // at most 16
    std::array<std::uint8_t, 96> sampleForNote{}; // index into samples for each note
    XmEnvelope volumeEnvelope;
    XmEnvelope panningEnvelope;
    int vibratoType = 0;
    int vibratoSweep = 0;
    int vibratoDepth = 0;
    int vibratoRate = 0;
    int fadeout = 0; // 0 ... 0xFFF
    // The header's size as written, usually 263 bytes. Other trackers write longer headers
    // (padded with zeros) and, for an instrument without samples, shorter ones that end
    // inside the fields (4 bytes at least, for the size itself).
    int headerSize = 263;
    // The sample header size field, usually 40. Other trackers store other values there;
    // the sample headers are 40 bytes whatever it says.
    std::uint32_t sampleHeaderSizeField = 40;
};

struct XmModule {
    std::string name;
    std::string trackerName = "vardel makedata";
    int channels = 8; // 1 ... 32
    int speed = 6;    // ticks per row
    int bpm = 125;
    bool linearFrequencies = true;
    int restartOrder = 0;
    std::vector<std::uint8_t> orders; // pattern numbers, 1 ... 256 entries
    std::vector<XmPattern> patterns;
    std::vector<XmInstrument> instruments; // at most 128
};

// Writes a FastTracker 2 module, version 0x0104: header, order table, packed patterns and
// instruments with their delta-coded sample data. Throws std::invalid_argument naming the
// field when the module does not fit the format.
std::vector<std::uint8_t> writeXm(const XmModule& module);

} // namespace vardel::formats
