#include "formats/XmWriter.h"

#include <stdexcept>

namespace vardel::formats {

XmPattern::XmPattern(int rowCount, int channelCount)
    : rows(rowCount), channels(channelCount),
      cells(static_cast<std::size_t>(rowCount > 0 && channelCount > 0 ? rowCount * channelCount
                                                                      : 0)) {}

XmCell& XmPattern::at(int row, int channel) {
    return cells.at(static_cast<std::size_t>(row * channels + channel));
}

const XmCell& XmPattern::at(int row, int channel) const {
    return cells.at(static_cast<std::size_t>(row * channels + channel));
}

namespace {

// Sizes fixed by the format.
constexpr std::uint32_t headerSize = 276; // from the header-size field to the orders' end
constexpr std::uint32_t patternHeaderSize = 9;
constexpr std::uint32_t instrumentHeaderSize = 263;
constexpr std::size_t maxEnvelopePoints = 12;

void require(bool condition, const std::string& what) {
    if (!condition) {
        throw std::invalid_argument("XM module: " + what);
    }
}

void requireRange(int value, int low, int high, const std::string& what) {
    require(value >= low && value <= high, what + " is " + std::to_string(value) + ", not in " +
                                               std::to_string(low) + " ... " +
                                               std::to_string(high));
}

// Little-endian output.
class Bytes {
public:
    void u8(int value) { out.push_back(static_cast<std::uint8_t>(value)); }
    void u16(int value) {
        u8(value & 0xFF);
        u8((value >> 8) & 0xFF);
    }
    void u32(std::uint32_t value) {
        u16(static_cast<int>(value & 0xFFFF));
        u16(static_cast<int>(value >> 16));
    }
    void zeros(std::size_t count) { out.insert(out.end(), count, 0); }
    // Text padded with zeros to a fixed width.
    void text(const std::string& value, std::size_t width, const std::string& what) {
        require(value.size() <= width,
                what + " \"" + value + "\" is longer than " + std::to_string(width));
        out.insert(out.end(), value.begin(), value.end());
        zeros(width - value.size());
    }
    void append(const std::vector<std::uint8_t>& data) {
        out.insert(out.end(), data.begin(), data.end());
    }
    std::size_t size() const { return out.size(); }
    std::vector<std::uint8_t> out;
};

// A cell packed FastTracker style: a flag byte (high bit set) saying which of the five fields
// follow, or the five fields as they are when all are present (the note is below 0x80).
void packCell(Bytes& out, const XmCell& cell) {
    const int fields[5] = {cell.note, cell.instrument, cell.volume, cell.effect, cell.parameter};
    int flags = 0x80;
    for (int i = 0; i < 5; ++i) {
        if (fields[i] != 0) {
            flags |= 1 << i;
        }
    }
    if (flags != 0x9F) {
        out.u8(flags);
    }
    for (int i = 0; i < 5; ++i) {
        if ((flags & (1 << i)) != 0) {
            out.u8(fields[i]);
        }
    }
}

void writePattern(Bytes& out, const XmPattern& pattern, int channels, int index) {
    const std::string name = "pattern " + std::to_string(index);
    requireRange(pattern.rows, 1, 256, name + " rows");
    require(pattern.channels == channels, name + " has " + std::to_string(pattern.channels) +
                                              " channels, the module " + std::to_string(channels));
    require(pattern.cells.size() == static_cast<std::size_t>(pattern.rows * channels),
            name + " cell count does not match its rows and channels");
    Bytes packed;
    for (const XmCell& cell : pattern.cells) {
        require(cell.note <= xmKeyOff, name + " holds note " + std::to_string(cell.note));
        require(cell.effect <= 35, name + " holds effect " + std::to_string(cell.effect));
        packCell(packed, cell);
    }
    out.u32(patternHeaderSize);
    out.u8(0); // packing type
    out.u16(pattern.rows);
    out.u16(static_cast<int>(packed.size()));
    out.append(packed.out);
}

// Envelope points, count, and the flag bits: 1 on, 2 sustain, 4 loop.
struct EnvelopeFields {
    int count = 0;
    int sustain = 0;
    int loopStart = 0;
    int loopEnd = 0;
    int flags = 0;
};

EnvelopeFields writeEnvelopePoints(Bytes& out, const XmEnvelope& envelope,
                                   const std::string& name) {
    require(envelope.points.size() <= maxEnvelopePoints, name + " has more than 12 points");
    EnvelopeFields fields;
    fields.count = static_cast<int>(envelope.points.size());
    int previousTick = -1;
    for (const XmEnvelope::Point& point : envelope.points) {
        require(point.tick > previousTick && (previousTick >= 0 || point.tick == 0),
                name + " ticks must start at 0 and increase");
        require(point.value <= 64, name + " value " + std::to_string(point.value) + " over 64");
        previousTick = point.tick;
        out.u16(point.tick);
        out.u16(point.value);
    }
    out.zeros((maxEnvelopePoints - envelope.points.size()) * 4);
    auto index = [&](const std::optional<int>& value, const char* what) {
        if (!value) {
            return 0;
        }
        requireRange(*value, 0, fields.count - 1, name + " " + what);
        return *value;
    };
    fields.sustain = index(envelope.sustain, "sustain point");
    fields.loopStart = index(envelope.loopStart, "loop start");
    fields.loopEnd = index(envelope.loopEnd, "loop end");
    require(envelope.loopStart.has_value() == envelope.loopEnd.has_value() &&
                fields.loopStart <= fields.loopEnd,
            name + " loop needs a start no later than its end");
    if (fields.count > 0) {
        fields.flags = 1 | (envelope.sustain ? 2 : 0) | (envelope.loopStart ? 4 : 0);
    }
    return fields;
}

// Sample data as differences from the previous value (the first from 0), wrapping at the
// sample's width; 8-bit samples keep the high byte of each 16-bit value.
void writeSampleData(Bytes& out, const XmSample& sample) {
    int previous = 0;
    for (std::int16_t value : sample.pcm) {
        const int stored = sample.sixteenBit ? value : value >> 8;
        const int delta = stored - previous;
        previous = stored;
        if (sample.sixteenBit) {
            out.u16(delta & 0xFFFF);
        } else {
            out.u8(delta & 0xFF);
        }
    }
}

void writeSampleHeader(Bytes& out, const XmSample& sample, const std::string& name) {
    const int frames = static_cast<int>(sample.pcm.size());
    require(sample.pcm.size() < (1u << 30), name + " is too long");
    requireRange(sample.volume, 0, 64, name + " volume");
    requireRange(sample.finetune, -128, 127, name + " finetune");
    requireRange(sample.panning, 0, 255, name + " panning");
    requireRange(sample.relativeNote, -96, 95, name + " relative note");
    requireRange(sample.loopLength, 0, frames, name + " loop length");
    requireRange(sample.loopStart, 0, frames - sample.loopLength, name + " loop start");
    const std::uint32_t bytesPerFrame = sample.sixteenBit ? 2 : 1;
    out.u32(static_cast<std::uint32_t>(frames) * bytesPerFrame);
    out.u32(static_cast<std::uint32_t>(sample.loopStart) * bytesPerFrame);
    out.u32(static_cast<std::uint32_t>(sample.loopLength) * bytesPerFrame);
    out.u8(sample.volume);
    out.u8(sample.finetune & 0xFF);
    const int loopType = sample.loopLength == 0 ? 0 : (sample.pingPong ? 2 : 1);
    out.u8(loopType | (sample.sixteenBit ? 0x10 : 0));
    out.u8(sample.panning);
    out.u8(sample.relativeNote & 0xFF);
    out.u8(0); // plain delta coding
    out.text(sample.name, 22, name + " name");
}

void writeInstrument(Bytes& out, const XmInstrument& instrument, int index) {
    const std::string name = "instrument " + std::to_string(index + 1);
    require(instrument.samples.size() <= 16, name + " has more than 16 samples");
    requireRange(instrument.headerSize, instrument.samples.empty() ? 4 : instrumentHeaderSize,
                 0xFFFF, name + " header size");
    const std::size_t start = out.size();
    out.u32(static_cast<std::uint32_t>(instrument.headerSize));
    out.text(instrument.name, 22, name + " name");
    out.u8(0); // type
    out.u16(static_cast<int>(instrument.samples.size()));
    out.u32(instrument.sampleHeaderSizeField);
    for (std::uint8_t sampleIndex : instrument.sampleForNote) {
        require(instrument.samples.empty() || sampleIndex < instrument.samples.size(),
                name + " maps a note to sample " + std::to_string(sampleIndex));
        out.u8(sampleIndex);
    }
    const EnvelopeFields volume =
        writeEnvelopePoints(out, instrument.volumeEnvelope, name + " volume envelope");
    const EnvelopeFields panning =
        writeEnvelopePoints(out, instrument.panningEnvelope, name + " panning envelope");
    out.u8(volume.count);
    out.u8(panning.count);
    for (const EnvelopeFields& fields : {volume, panning}) {
        out.u8(fields.sustain);
        out.u8(fields.loopStart);
        out.u8(fields.loopEnd);
    }
    out.u8(volume.flags);
    out.u8(panning.flags);
    requireRange(instrument.vibratoType, 0, 3, name + " vibrato type");
    out.u8(instrument.vibratoType);
    out.u8(instrument.vibratoSweep);
    out.u8(instrument.vibratoDepth);
    out.u8(instrument.vibratoRate);
    requireRange(instrument.fadeout, 0, 0xFFF, name + " fadeout");
    out.u16(instrument.fadeout);
    out.zeros(start + instrumentHeaderSize - out.size()); // reserved
    // A header of another size ends inside the fields or is padded.
    out.out.resize(start + static_cast<std::size_t>(instrument.headerSize));
    for (std::size_t i = 0; i < instrument.samples.size(); ++i) {
        writeSampleHeader(out, instrument.samples[i], name + " sample " + std::to_string(i));
    }
    for (const XmSample& sample : instrument.samples) {
        writeSampleData(out, sample);
    }
}

} // namespace

std::vector<std::uint8_t> writeXm(const XmModule& module) {
    requireRange(module.channels, 1, 32, "channel count");
    requireRange(module.speed, 1, 31, "speed");
    requireRange(module.bpm, 32, 255, "BPM");
    requireRange(static_cast<int>(module.orders.size()), 1, 256, "order count");
    requireRange(static_cast<int>(module.patterns.size()), 1, 256, "pattern count");
    requireRange(static_cast<int>(module.instruments.size()), 0, 128, "instrument count");
    requireRange(module.restartOrder, 0, static_cast<int>(module.orders.size()) - 1,
                 "restart order");
    for (std::uint8_t pattern : module.orders) {
        require(pattern < module.patterns.size(),
                "order table names pattern " + std::to_string(pattern) + ", which is missing");
    }

    Bytes out;
    out.text("Extended Module: ", 17, "id");
    out.text(module.name, 20, "module name");
    out.u8(0x1A);
    out.text(module.trackerName, 20, "tracker name");
    out.u16(0x0104);
    out.u32(headerSize);
    out.u16(static_cast<int>(module.orders.size()));
    out.u16(module.restartOrder);
    out.u16(module.channels);
    out.u16(static_cast<int>(module.patterns.size()));
    out.u16(static_cast<int>(module.instruments.size()));
    out.u16(module.linearFrequencies ? 1 : 0);
    out.u16(module.speed);
    out.u16(module.bpm);
    for (std::uint8_t pattern : module.orders) {
        out.u8(pattern);
    }
    out.zeros(256 - module.orders.size());
    for (std::size_t i = 0; i < module.patterns.size(); ++i) {
        writePattern(out, module.patterns[i], module.channels, static_cast<int>(i));
    }
    for (std::size_t i = 0; i < module.instruments.size(); ++i) {
        writeInstrument(out, module.instruments[i], static_cast<int>(i));
    }
    return std::move(out.out);
}

} // namespace vardel::formats
