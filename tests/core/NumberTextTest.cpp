#include "core/NumberText.h"

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// The texts a data file offers the conversion: signs, digits, points and
// exponents in every arrangement, including broken ones.
std::vector<std::string> NumberTexts() {
    std::vector<std::string> texts = {
        "0",
        "-0",
        "-0.0",
        "+0.",
        ".5",
        "-.5",
        "1.",
        ".",
        "+",
        "-",
        "+.",
        "1.2.3",
        "3-4",
        "1e",
        "1e+",
        "1e5",
        "2E-3",
        "12.3456",
        "  7.25",
        "9007199254740992",
        "9007199254740993",
        "0.1",
        "123456789012345678",
        "1234567890123456789",
        "12345678901234567890",
        "0.0000000000000000000001",
        "0.00000000000000000000001",
        "4.9406564584124654e-324",
        "1e400",
        "-1e-400",
        "00000000000000000000012.5",
        "179769313486231570000000000000000000000000000000000000000000000000000000000000000000000"
        "00000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
        "00000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
        "00000000000000000000000000000000000000000000000000000000000000000000000000000000.5",
    };
    std::uint64_t state = 88172645463325252ull;
    const auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    for (int k = 0; k < 20000; ++k) {
        std::string text;
        if (next() % 4 == 0) {
            text += next() % 2 ? '-' : '+';
        }
        const auto whole = static_cast<int>(next() % 21);
        for (int i = 0; i < whole; ++i) {
            text += static_cast<char>('0' + next() % 10);
        }
        if (next() % 4 != 0) {
            text += '.';
            const auto fraction = static_cast<int>(next() % 26);
            for (int i = 0; i < fraction; ++i) {
                text += static_cast<char>('0' + next() % 10);
            }
        }
        if (next() % 8 == 0) {
            text += next() % 2 ? "e-" : "e";
            text += std::to_string(next() % 30);
        }
        texts.push_back(text);
    }
    return texts;
}

} // namespace

TEST(ParseDouble, AgreesWithTheCLibraryToTheBitOnDecimalTexts) {
    for (const std::string& text : NumberTexts()) {
        char* stop = nullptr;
        const double expected = std::strtod(text.c_str(), &stop);
        std::size_t used = 99;
        const double value = ParseDouble(text.data(), text.data() + text.size(), &used);
        ASSERT_EQ(used, static_cast<std::size_t>(stop - text.c_str())) << text;
        ASSERT_EQ(std::bit_cast<std::uint64_t>(value), std::bit_cast<std::uint64_t>(expected))
            << text;
    }
}
