#include "scene/TextScanner.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <system_error>

namespace vardel {

namespace {

std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text.substr(0, 40)) {
        const auto byte = static_cast<unsigned char>(c);
        out += (byte >= 0x20 && byte < 0x7F) ? c : '?';
    }
    if (text.size() > 40) {
        out += "...";
    }
    return out + "\"";
}

bool isDigit(const char* at, const char* last) {
    return at != last && *at >= '0' && *at <= '9';
}

const char* skipDigits(const char* at, const char* last) {
    while (isDigit(at, last)) {
        ++at;
    }
    return at;
}

bool startsWithNoCase(const char* at, const char* last, std::string_view word) {
    if (static_cast<std::size_t>(last - at) < word.size()) {
        return false;
    }
    for (char c : word) {
        if ((*at++ | 0x20) != c) {
            return false;
        }
    }
    return true;
}

struct Parsed {
    const char* stop;
    std::errc error;
};

// The longest decimal number at the start of [first, last), as std::from_chars reads it in
// its general format (optional '-', digits with an optional point, an optional exponent):
// no digits is invalid_argument, a value too large or too small for a double (all its
// digits lost) and infinity or NaN are result_out_of_range. Not every C++ library has
// from_chars for double, so the prefix is found here and converted by strtod, which rounds
// correctly and reads a point as the decimal separator in the "C" locale the programs keep.
Parsed parseDecimal(const char* first, const char* last, double& value) {
    const char* at = first != last && *first == '-' ? first + 1 : first;
    if (startsWithNoCase(at, last, "inf") || startsWithNoCase(at, last, "nan")) {
        return {at + 3, std::errc::result_out_of_range};
    }
    const char* digitsEnd = skipDigits(at, last);
    bool anyDigit = digitsEnd != at;
    if (digitsEnd != last && *digitsEnd == '.') {
        const char* fraction = digitsEnd + 1;
        digitsEnd = skipDigits(fraction, last);
        anyDigit = anyDigit || digitsEnd != fraction;
    }
    if (!anyDigit) {
        return {first, std::errc::invalid_argument};
    }
    const char* stop = digitsEnd;
    if (stop != last && (*stop == 'e' || *stop == 'E')) {
        const char* exponent = stop + 1;
        if (exponent != last && (*exponent == '+' || *exponent == '-')) {
            ++exponent;
        }
        if (isDigit(exponent, last)) {
            stop = skipDigits(exponent, last);
        }
    }
    char text[128];
    const auto length = static_cast<std::size_t>(stop - first);
    if (length >= sizeof text) { // longer than any word the scanner reads
        return {first, std::errc::invalid_argument};
    }
    std::memcpy(text, first, length);
    text[length] = '\0';
    errno = 0;
    const double parsed = std::strtod(text, nullptr);
    if (errno == ERANGE && (parsed == 0.0 || std::isinf(parsed))) {
        return {stop, std::errc::result_out_of_range};
    }
    value = parsed;
    return {stop, std::errc{}};
}

} // namespace

bool TextScanner::setProblem(std::string message) {
    if (problemText.empty()) {
        problemText = std::move(message);
        problemPos = pos;
    }
    return false;
}

int TextScanner::problemLine() const {
    int line = 1;
    for (std::size_t i = 0; i < problemPos && i < text.size(); ++i) {
        line += text[i] == '\n' ? 1 : 0;
    }
    return line;
}

void TextScanner::skipWhitespace() {
    while (pos < text.size() && isWhitespace(static_cast<unsigned char>(text[pos]))) {
        ++pos;
    }
}

bool TextScanner::nextToken(std::string_view& token) {
    if (!problemText.empty()) {
        return false;
    }
    skipWhitespace();
    if (pos == text.size()) {
        return setProblem("unexpected end of file");
    }
    const std::size_t start = pos;
    while (pos < text.size() && !isWhitespace(static_cast<unsigned char>(text[pos]))) {
        ++pos;
    }
    token = text.substr(start, pos - start);
    if (token.size() > kMaxToken) {
        pos = start;
        return setProblem("token longer than 79 characters: " + quoted(token));
    }
    return true;
}

bool TextScanner::skipTokens(int count) {
    std::string_view token;
    for (int i = 0; i < count; ++i) {
        if (!nextToken(token)) {
            return false;
        }
    }
    return true;
}

bool TextScanner::searchFor(std::string_view keyword) {
    std::string_view found;
    return searchFor(keyword, keyword, found);
}

bool TextScanner::searchFor(std::string_view first, std::string_view second,
                            std::string_view& found) {
    std::string_view token;
    for (;;) {
        if (!nextToken(token)) {
            if (problemText == "unexpected end of file") {
                problemText = "end of file while looking for \"" + std::string(first) + "\"";
                if (second != first) {
                    problemText += " or \"" + std::string(second) + "\"";
                }
            }
            return false;
        }
        if (token == first || token == second) {
            found = token;
            return true;
        }
    }
}

bool TextScanner::readNumber(double& value, std::string_view what) {
    if (!problemText.empty()) {
        return false;
    }
    skipWhitespace();
    if (pos == text.size()) {
        return setProblem("end of file where the " + std::string(what) + " was expected");
    }
    std::size_t end = pos;
    while (end < text.size() && !isWhitespace(static_cast<unsigned char>(text[end]))) {
        ++end;
    }
    const std::string_view word = text.substr(pos, end - pos);
    if (word.size() > kMaxToken) {
        return setProblem("number longer than 79 characters: " + quoted(word));
    }
    // Like the C library's "%lf": the longest decimal prefix is the number, whatever follows
    // it is left for the next read. A leading '+' is allowed; non-finite values are not.
    const char* first = word.data();
    const char* last = word.data() + word.size();
    const bool plus = first != last && *first == '+';
    const char* digits = plus ? first + 1 : first;
    double parsed = 0.0;
    const auto [stop, error] = parseDecimal(digits, last, parsed);
    if (error == std::errc::invalid_argument || (plus && digits != last && *digits == '-')) {
        return setProblem("expected the " + std::string(what) + ", found " + quoted(word));
    }
    if (error == std::errc::result_out_of_range || !std::isfinite(parsed)) {
        return setProblem("the " + std::string(what) + " " + quoted(word) + " is out of range");
    }
    value = parsed;
    pos += static_cast<std::size_t>(stop - first);
    return true;
}

bool TextScanner::readLine(std::string& line, std::string_view what) {
    if (!problemText.empty()) {
        return false;
    }
    if (pos == text.size()) {
        return setProblem("end of file where the " + std::string(what) + " was expected");
    }
    ++pos; // the separator after the keyword
    const std::size_t start = pos;
    while (pos < text.size() && text[pos] != '\n' && text[pos] != '\r') {
        ++pos;
    }
    const std::string_view found = text.substr(start, pos - start);
    if (found.size() > kMaxToken) {
        pos = start;
        return setProblem("the " + std::string(what) + " is longer than 79 characters");
    }
    if (pos == text.size()) {
        pos = start;
        return setProblem("the " + std::string(what) + " line does not end");
    }
    line.assign(found);
    return true;
}

} // namespace vardel
