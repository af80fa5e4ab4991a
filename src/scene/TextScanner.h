#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vardel {

// Reads whitespace-separated text the way the scene format is written: tokens (runs of
// non-whitespace), decimal numbers and whole lines. Every read reports the first problem
// (end of text, an over-long token, a number that does not parse) through problem() and
// problemLine(), and returns false from then on.
class TextScanner {
public:
    // Tokens and path lines are held in an 80-character buffer by the format's definition.
    static constexpr std::size_t kMaxToken = 79;

    explicit TextScanner(std::string_view text) : text(text) {}

    bool nextToken(std::string_view& token);
    bool skipTokens(int count);
    // Reads tokens until one equals keyword (or either of two keywords).
    bool searchFor(std::string_view keyword);
    bool searchFor(std::string_view first, std::string_view second, std::string_view& found);
    // Reads a decimal number after optional whitespace; `what` names it in the problem.
    bool readNumber(double& value, std::string_view what);
    // Discards one character, then reads up to (not including) the next CR or LF.
    bool readLine(std::string& line, std::string_view what);

    std::size_t remaining() const { return text.size() - pos; }
    const std::string& problem() const { return problemText; }
    int problemLine() const;

    bool setProblem(std::string message); // always returns false

private:
    void skipWhitespace();

    std::string_view text;
    std::size_t pos = 0;
    std::size_t problemPos = 0;
    std::string problemText;
};

// Whitespace as the C library's isspace sees it in the "C" locale.
constexpr bool isWhitespace(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace vardel
