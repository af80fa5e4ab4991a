#pragma once

// The cue song laid out as other trackers write XM files: the last sample cut short, sample-
// less instruments with short headers, header size fields other than the usual ones, and
// (refused) pattern data cut short. Used by the music tests and as fuzz seeds.

#include <cstdint>
#include <string>
#include <vector>

#include "music/CueModule.h"

namespace vardel::test {

// The cue song with two more instruments: 2 has no samples, 3 one 8-bit sample of 3000 bytes
// that sounds from order 2, row 0 to the key off.
inline formats::XmModule trackerSong() {
    formats::XmModule module = cueSong();
    formats::XmInstrument none;
    none.name = "no samples";
    formats::XmInstrument saw;
    saw.name = "saw";
    saw.samples.resize(1);
    saw.samples[0].sixteenBit = false;
    for (int i = 0; i < 3000; ++i)
        saw.samples[0].pcm.push_back(std::int16_t((i % 50) * 1000 - 25000));
    module.instruments.push_back(none);
    module.instruments.push_back(saw);
    module.patterns[2].at(0, 0).note = formats::xmNote(0, 4);
    module.patterns[2].at(0, 0).instrument = 3;
    return module;
}

// Where the instruments start: everything before is the header and the patterns.
inline std::size_t patternsEnd(formats::XmModule module) {
    module.instruments.clear();
    return formats::writeXm(module).size();
}

struct OddModule {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

inline std::vector<OddModule> oddModules() {
    const formats::XmModule song = trackerSong();
    const std::vector<std::uint8_t> complete = formats::writeXm(song);
    auto cut = [](std::vector<std::uint8_t> bytes, std::size_t size) {
        bytes.resize(size);
        return bytes;
    };
    formats::XmModule shortHeaders = song;
    shortHeaders.instruments[1].headerSize = 24; // not even the sample count
    shortHeaders.instruments.push_back(formats::XmInstrument{});
    shortHeaders.instruments.back().headerSize = 33; // up to the sample header size
    formats::XmModule emptyLast = song;
    emptyLast.instruments.push_back(formats::XmInstrument{});
    formats::XmModule oddSizes = song;
    oddSizes.instruments[0].headerSize = 300;
    oddSizes.instruments[0].sampleHeaderSizeField = 0;
    oddSizes.instruments[2].sampleHeaderSizeField = 681693288;
    std::vector<std::uint8_t> oddBytes = formats::writeXm(oddSizes);
    const std::size_t firstPattern = 60 + 276;
    oddSizes.instruments.resize(1);
    const std::size_t second = formats::writeXm(oddSizes).size();
    for (std::size_t i = 0; i < 4; ++i) {
        oddBytes[firstPattern + i] = 0xFF; // a pattern header length past the file's end
        oddBytes[second + i] = 0;          // an instrument header size of 0
    }
    // The last sample is cut short in a file with all the odd sizes, as such files come.
    return {
        {"complete.xm", complete},
        {"last-sample-cut.xm", cut(oddBytes, oddBytes.size() - 1000)},
        {"short-headers.xm", formats::writeXm(shortHeaders)},
        {"empty-last-cut.xm", cut(formats::writeXm(emptyLast), complete.size() + 24)},
        {"odd-sizes.xm", oddBytes},
        {"patterns-cut.xm", cut(complete, patternsEnd(song) - 10)},
    };
}

} // namespace vardel::test
