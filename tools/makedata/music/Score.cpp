#include "music/Score.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace vardel::makedata::music {

using formats::xmNote;

namespace {

[[noreturn]] void fail(const std::string& what, std::string_view token, std::size_t row) {
    throw std::invalid_argument("score: " + what + " '" + std::string(token) + "' at row " +
                                std::to_string(row));
}

std::vector<std::string_view> tokens(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t start = text.find_first_not_of(" \t\n", at);
        if (start == std::string_view::npos) {
            break;
        }
        const std::size_t end = std::min(text.find_first_of(" \t\n", start), text.size());
        words.push_back(text.substr(start, end - start));
        at = end;
    }
    return words;
}

void barLine(const Line& line) {
    if (line.empty() || line.size() % rowsPerBar != 0) {
        fail("bar line after a broken bar", "|", line.size());
    }
}

// The velocity after a token's colon, or -1 when it has none.
int parseVelocity(std::string_view token, std::size_t row) {
    const std::size_t colon = token.find(':');
    if (colon == std::string_view::npos) {
        return -1;
    }
    const std::string_view digits = token.substr(colon + 1);
    int velocity = 0;
    for (char digit : digits) {
        if (digit < '0' || digit > '9' || velocity > 64) {
            fail("velocity not in 0 ... 64", token, row);
        }
        velocity = velocity * 10 + (digit - '0');
    }
    if (digits.empty() || velocity > 64) {
        fail("velocity not in 0 ... 64", token, row);
    }
    return velocity;
}

// "A4" or "C#5:40": the note number and, when given, the velocity.
std::uint8_t parseNote(std::string_view token, std::size_t row, int& velocity) {
    static constexpr int letterSemitone[] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G
    const std::size_t colon = token.find(':');
    std::string_view name = token.substr(0, colon);
    if (name.size() < 2 || name.front() < 'A' || name.front() > 'G') {
        fail("not a note", token, row);
    }
    int semitone = letterSemitone[name.front() - 'A'];
    if (name.size() == 3 && (name[1] == '#' || name[1] == 'b')) {
        semitone += name[1] == '#' ? 1 : -1;
    } else if (name.size() != 2) {
        fail("not a note", token, row);
    }
    const char octave = name.back();
    const int number = (octave - '0') * 12 + semitone + 1;
    if (octave < '0' || octave > '7' || number < 1 || number > 96) {
        fail("note outside the octaves 0 ... 7", token, row);
    }
    velocity = parseVelocity(token, row);
    return static_cast<std::uint8_t>(number);
}

formats::XmCell noteCell(std::uint8_t note, Instrument instrument, int velocity) {
    formats::XmCell cell;
    cell.note = note;
    cell.instrument = static_cast<std::uint8_t>(instrument);
    cell.volume = velocity >= 0 ? volumeFor(instrument, velocity) : 0;
    return cell;
}

// Repeats a one-bar figure over every chord, `play` turning one step of it into a cell.
template <typename Step> Line eachBar(const Progression& chords, std::size_t steps, Step play) {
    Line line;
    for (const Chord* chord : chords) {
        for (std::size_t step = 0; step < steps; ++step) {
            line.push_back(play(*chord, step));
        }
    }
    return line;
}

void requireOneBar(std::size_t steps, std::string_view text) {
    if (steps != rowsPerBar) {
        throw std::invalid_argument("score: figure '" + std::string(text) + "' has " +
                                    std::to_string(steps) + " rows, not one bar of " +
                                    std::to_string(rowsPerBar));
    }
}

} // namespace

std::uint8_t volumeFor(Instrument instrument, int velocity) {
    return static_cast<std::uint8_t>(0x10 + (mixLevel(instrument) * velocity + 32) / 64);
}

Line notes(std::string_view text, Instrument instrument) {
    Line line;
    for (std::string_view token : tokens(text)) {
        if (token == "|") {
            barLine(line);
        } else if (token == ".") {
            line.emplace_back();
        } else if (token == "=") {
            line.push_back({formats::xmKeyOff, 0, 0, 0, 0});
        } else {
            int velocity = -1;
            const std::uint8_t note = parseNote(token, line.size(), velocity);
            line.push_back(noteCell(note, instrument, velocity));
        }
    }
    return line;
}

Line hits(std::string_view text, Instrument instrument, Random& random, Instrument other) {
    Line line;
    for (char c : text) {
        int velocity = 0;
        Instrument which = instrument;
        switch (c) {
        case ' ':
            continue;
        case '|':
            barLine(line);
            continue;
        case '.':
            line.emplace_back();
            continue;
        case 'X':
            velocity = 62;
            break;
        case 'x':
            velocity = 50;
            break;
        case 'g':
            velocity = 30;
            break;
        case 'O':
            velocity = 60, which = other;
            break;
        case 'o':
            velocity = 46, which = other;
            break;
        default:
            fail("not a drum hit", std::string_view(&c, 1), line.size());
        }
        // A drummer never hits twice alike: a few steps either way, never over full.
        velocity = std::min(64, velocity + random.between(-3, 3));
        line.push_back(noteCell(xmNote(0, 4), which, velocity));
    }
    return line;
}

const Chord& chord(std::string_view name) {
    static constexpr Chord table[] = {
        {"Am", {xmNote(9, 3), xmNote(0, 4), xmNote(4, 4)}, xmNote(9, 1)},
        {"A", {xmNote(9, 3), xmNote(1, 4), xmNote(4, 4)}, xmNote(9, 1)},
        {"C", {xmNote(7, 3), xmNote(0, 4), xmNote(4, 4)}, xmNote(0, 2)},
        {"Dm", {xmNote(9, 3), xmNote(2, 4), xmNote(5, 4)}, xmNote(2, 2)},
        {"E", {xmNote(8, 3), xmNote(11, 3), xmNote(4, 4)}, xmNote(4, 1)},
        {"Em", {xmNote(7, 3), xmNote(11, 3), xmNote(4, 4)}, xmNote(4, 1)},
        {"F", {xmNote(9, 3), xmNote(0, 4), xmNote(5, 4)}, xmNote(5, 1)},
        {"G", {xmNote(7, 3), xmNote(11, 3), xmNote(2, 4)}, xmNote(7, 1)},
    };
    for (const Chord& entry : table) {
        if (entry.name == name) {
            return entry;
        }
    }
    throw std::invalid_argument("score: no chord named '" + std::string(name) + "'");
}

Progression progression(std::string_view names) {
    Progression chords;
    for (std::string_view name : tokens(names)) {
        chords.push_back(&chord(name));
    }
    return chords;
}

Line padVoice(const Progression& chords, int voice, int velocity) {
    Line line;
    std::uint8_t held = 0;
    for (const Chord* chord : chords) {
        const std::uint8_t note = chord->voicing.at(static_cast<std::size_t>(voice));
        line.push_back(note != held ? noteCell(note, Instrument::Pad, velocity)
                                    : formats::XmCell{});
        line.resize(line.size() + rowsPerBar - 1);
        held = note;
    }
    return line;
}

Line arpeggio(const Progression& chords, std::string_view steps, int octaves) {
    const std::vector<std::string_view> figure = tokens(steps);
    requireOneBar(figure.size(), steps);
    return eachBar(chords, figure.size(), [&](const Chord& chord, std::size_t step) {
        const std::string_view token = figure[step];
        if (token == ".") {
            return formats::XmCell{};
        }
        const int index = token.front() - '0';
        if (index < 0 || index > 9 || (token.size() > 1 && token[1] != ':')) {
            fail("not an arpeggio step", token, step);
        }
        const int velocity = parseVelocity(token, step);
        const int note =
            chord.voicing[static_cast<std::size_t>(index % 3)] + 12 * (index / 3) + 12 * octaves;
        if (note > 96) {
            fail("arpeggio step above B-7", token, step);
        }
        return noteCell(static_cast<std::uint8_t>(note), Instrument::Pluck, velocity);
    });
}

Line bassLine(const Progression& chords, std::string_view rhythm) {
    std::string figure;
    for (char c : rhythm) {
        if (c != ' ') {
            figure.push_back(c);
        }
    }
    requireOneBar(figure.size(), rhythm);
    return eachBar(chords, figure.size(), [&](const Chord& chord, std::size_t step) {
        switch (figure[step]) {
        case '.':
            return formats::XmCell{};
        case '=':
            return formats::XmCell{formats::xmKeyOff, 0, 0, 0, 0};
        case 'r':
            return noteCell(chord.root, Instrument::Bass, -1);
        case 'R':
            return noteCell(static_cast<std::uint8_t>(chord.root + 12), Instrument::Bass, -1);
        case 'f':
            return noteCell(static_cast<std::uint8_t>(chord.root + 7), Instrument::Bass, -1);
        default:
            fail("not a bass step", std::string_view(&figure[step], 1), step);
        }
    });
}

} // namespace vardel::makedata::music
