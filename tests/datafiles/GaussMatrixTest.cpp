#include "datafiles/GaussMatrix.h"
#include "core/WMException.h"
#include "datafiles/DatafilesTestSupport.h"
#include "support/ScriptedPrompt.h"

#include <bit>
#include <cstdint>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::vector<double> kOneToSix = {1, 2, 3, 4, 5, 6};

struct Read {
    Read(const std::string& file, bool markMissing) {
        std::istringstream input(file);
        input.seekg(5); // the reader starts from the top wherever the stream stands
        result = ReadGaussMatrix(matrix, input, markMissing);
    }
    std::string Outcome() const { return std::to_string(result) + ": " + MatrixText(matrix); }
    int result = -1;
    DMAT matrix;
};

TEST(GaussMatrix, SmallAndLargeHeadersGiveTheSameMatrix) {
    EXPECT_EQ(Read(GaussBytes(2, 3, kOneToSix), true).Outcome(), "0: 1 2 3/4 5 6");
    const std::string large = GaussBytes<GaussLargeHeader>(2, 3, kOneToSix);
    EXPECT_EQ(large.substr(0, 2), "\xDD\xEE");
    EXPECT_EQ(Read(large, false).Outcome(), "0: 1 2 3/4 5 6");
    EXPECT_THROW(Read(GaussBytes<GaussLargeHeader>(0, 3, {}), true), WMException);
}

TEST(GaussMatrix, BadFilesAndTheirMessages) {
    std::string bad = GaussBytes(2, 3, kOneToSix);
    bad[0] = 0x34;
    bad[1] = 0x12;
    EXPECT_EQ(Read(bad, true).result, 2);
    EXPECT_EQ(Read("\xDD", true).result, 1);
    EXPECT_EQ(Read(std::string("\xDD\xDD\x02\x00", 4), true).result, 1);
    // A file that ends inside its fifth element keeps the four read before.
    EXPECT_EQ(Read(GaussBytes(2, 3, {1, 2, 3, 4}) + "\x01\x02\x03", false).Outcome(),
              "1: 1 2 3/4 . .");

    ScriptedPrompt prompt;
    ReportGaussError(prompt, 0);
    EXPECT_EQ(prompt.Count(), 0u);
    ReportGaussError(prompt, 2);
    ASSERT_EQ(prompt.Count(), 1u);
    EXPECT_EQ(prompt.Last().caption, "Error");
    EXPECT_EQ(prompt.Last().icon, PromptIcon::Exclamation);
    EXPECT_EQ(prompt.Last().text, "Error received while reading header of Gauss matrix\n"
                                  "No valid ID code was found\n"
                                  "Check the format of Gauss matrix\n"
                                  "See also online help for supported Gauss formats\n");
    ReportGaussError(prompt, 1);
    EXPECT_EQ(prompt.Last().text,
              "Error received while reading Gauss matrix\nCheck if the file is not corrupt");
}

TEST(GaussMatrix, NaNsBecomeMissingOnlyWithTheOption) {
    const auto bits = [](double value) { return std::bit_cast<std::uint64_t>(value); };
    // Two NaNs, the infinities, "page" packed as character data, a denormal.
    const std::uint64_t patterns[] = {0x7FF8000000000000, 0xFFF0000000000001, 0x7FF0000000000000,
                                      0xFFF0000000000000, 0x65676170,         1};
    std::vector<double> elements;
    for (const std::uint64_t pattern : patterns) {
        elements.push_back(std::bit_cast<double>(pattern));
    }
    const Read marked(GaussBytes(1, 6, elements), true);
    EXPECT_EQ(marked.Outcome().substr(0, 16), "0: . . inf -inf ");
    EXPECT_EQ(bits(marked.matrix.Get(0, 0)), 0x7FFFFFFF00000000ull);
    EXPECT_EQ(bits(marked.matrix.Get(0, 1)), 0x7FFFFFFF00000000ull);
    const Read raw(GaussBytes(1, 6, elements), false);
    ASSERT_EQ(raw.result, 0);
    for (std::uint32_t c = 0; c < 6; ++c) {
        EXPECT_EQ(bits(raw.matrix.Get(0, c)), patterns[c]) << c;
    }
}

} // namespace
