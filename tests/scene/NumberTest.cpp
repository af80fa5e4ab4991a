// Numbers in scene text: the longest decimal prefix of a word is the number, as the C library's
// "%lf" reads it, converted exactly, and a value a double cannot hold is refused.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "scene/TextScanner.h"

namespace vardel {
namespace {

struct Read {
    const char* text;
    double value;     // expected value
    const char* rest; // the next token after the number ("" for none)
};

TEST(SceneNumbers, ReadTheLongestDecimalPrefix) {
    const Read cases[] = {
        {"12.5e3x", 12500.0, "x"},
        {"0x10", 0.0, "x10"},            // no hexadecimal numbers
        {"1.5e+ 7", 1.5, "e+"},          // an exponent without digits is not part of it
        {"-.5", -0.5, ""},
        {"+7", 7.0, ""},
        {"00012.50", 12.5, ""},
        {"1.", 1.0, ""},
        {"0.1", 0.1, ""},                // rounded to the nearest double
        {"2.2250738585072011e-308", 2.2250738585072011e-308, ""},
        {"4e-320", 4e-320, ""},          // subnormal, still a value
        {"0.30000000000000004441", 0.30000000000000004441, ""},
    };
    for (const Read& c : cases) {
        TextScanner scanner(c.text);
        double value = -1.0;
        ASSERT_TRUE(scanner.readNumber(value, "number")) << c.text << ": " << scanner.problem();
        EXPECT_EQ(value, c.value) << c.text;
        EXPECT_FALSE(std::signbit(value) && c.value == 0.0) << c.text;
        std::string_view rest;
        if (*c.rest != '\0') {
            ASSERT_TRUE(scanner.nextToken(rest)) << c.text;
        }
        EXPECT_EQ(rest, c.rest) << c.text;
    }
}

TEST(SceneNumbers, RefuseWhatIsNoNumberOrDoesNotFit) {
    const std::pair<const char*, const char*> cases[] = {
        {".", "expected the zoom, found \".\""},
        {"-", "expected the zoom, found \"-\""},
        {"+-1", "expected the zoom, found \"+-1\""},
        {"e5", "expected the zoom"},
        {"1e999", "is out of range"},
        {"-1e999", "is out of range"},
        {"1e-400", "is out of range"}, // every digit lost
        {"-inf", "is out of range"},
        {"Infinity", "is out of range"},
        {"nanx", "is out of range"},
    };
    for (const auto& [text, problem] : cases) {
        TextScanner scanner(text);
        double value = 42.0;
        EXPECT_FALSE(scanner.readNumber(value, "zoom")) << text;
        EXPECT_NE(scanner.problem().find(problem), std::string::npos)
            << text << ": " << scanner.problem();
        EXPECT_EQ(value, 42.0) << text;
    }
}

} // namespace
} // namespace vardel
