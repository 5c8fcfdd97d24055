#include "datafiles/GaussMatrix.h"
#include "core/DMAT.h"
#include "core/WMException.h"
#include "support/ScriptedPrompt.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string Bytes(const std::array<unsigned char, 16>& header) {
    return std::string(reinterpret_cast<const char*>(header.data()), header.size());
}

// A file of the given header followed by the elements' bit patterns.
template <typename Header>
std::string GaussFile(std::uint32_t rows, std::uint32_t columns,
                      const std::vector<std::uint64_t>& elements) {
    Header header;
    header.rows = static_cast<decltype(header.rows)>(rows);
    header.columns = static_cast<decltype(header.columns)>(columns);
    std::string file = Bytes(header.Encode());
    for (std::uint64_t bits : elements) {
        for (int i = 0; i < 8; ++i) {
            file += static_cast<char>((bits >> (8 * i)) & 0xFF);
        }
    }
    return file;
}

std::uint64_t Bits(double value) {
    return std::bit_cast<std::uint64_t>(value);
}

std::vector<std::uint64_t> OneToSix() {
    std::vector<std::uint64_t> elements;
    for (int k = 1; k <= 6; ++k) {
        elements.push_back(Bits(k));
    }
    return elements;
}

int Read(const std::string& file, DMAT& matrix, bool markMissing) {
    std::istringstream input(file);
    input.seekg(5); // the reader starts from the top wherever the stream stands
    return ReadGaussMatrix(matrix, input, markMissing);
}

void ExpectOneToSixRowByRow(const DMAT& m) {
    ASSERT_EQ(m.GetRows(), 2u);
    ASSERT_EQ(m.GetColumns(), 3u);
    for (std::uint32_t r = 0; r < 2; ++r) {
        for (std::uint32_t c = 0; c < 3; ++c) {
            EXPECT_EQ(m.Get(r, c), r * 3 + c + 1);
        }
    }
}

TEST(GaussMatrix, SmallAndLargeHeadersGiveTheSameMatrix) {
    DMAT small;
    ASSERT_EQ(Read(GaussFile<GaussSmallHeader>(2, 3, OneToSix()), small, true), 0);
    ExpectOneToSixRowByRow(small);
    DMAT large;
    const std::string file = GaussFile<GaussLargeHeader>(2, 3, OneToSix());
    EXPECT_EQ(static_cast<unsigned char>(file[0]), 0xDD);
    EXPECT_EQ(static_cast<unsigned char>(file[1]), 0xEE);
    ASSERT_EQ(Read(file, large, false), 0);
    ExpectOneToSixRowByRow(large);
    DMAT empty;
    EXPECT_THROW(Read(GaussFile<GaussLargeHeader>(0, 3, {}), empty, true), WMException);
}

TEST(GaussMatrix, BadFilesAndTheirMessages) {
    DMAT matrix;
    std::string bad = GaussFile<GaussSmallHeader>(2, 3, OneToSix());
    bad[0] = 0x34;
    bad[1] = 0x12;
    EXPECT_EQ(Read(bad, matrix, true), 2);
    EXPECT_EQ(Read("\xDD", matrix, true), 1);
    EXPECT_EQ(Read(std::string("\xDD\xDD\x02\x00", 4), matrix, true), 1);

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

TEST(GaussMatrix, ShortFileKeepsWhatWasReadAndMarksTheRestMissing) {
    std::vector<std::uint64_t> four = OneToSix();
    four.resize(4);
    std::string file = GaussFile<GaussSmallHeader>(2, 3, four);
    file += "\x01\x02\x03"; // a torn fifth element
    DMAT matrix;
    EXPECT_EQ(Read(file, matrix, false), 1);
    EXPECT_EQ(matrix.Get(0, 0), 1);
    EXPECT_EQ(matrix.Get(0, 2), 3);
    EXPECT_EQ(matrix.Get(1, 0), 4);
    EXPECT_TRUE(matrix.IsMissing(1, 1));
    EXPECT_TRUE(matrix.IsMissing(1, 2));
}

TEST(GaussMatrix, NaNsBecomeMissingOnlyWithTheOption) {
    const std::uint64_t quietNaN = 0x7FF8000000000000ull;
    const std::uint64_t signallingNaN = 0xFFF0000000000001ull;
    std::uint64_t page = 0;
    std::memcpy(&page, "page\0\0\0\0", 8);
    const std::vector<std::uint64_t> elements = {quietNaN,
                                                 signallingNaN,
                                                 Bits(std::numeric_limits<double>::infinity()),
                                                 Bits(-std::numeric_limits<double>::infinity()),
                                                 page,
                                                 0x0000000000000001ull};
    DMAT marked;
    ASSERT_EQ(Read(GaussFile<GaussSmallHeader>(1, 6, elements), marked, true), 0);
    EXPECT_EQ(Bits(marked.Get(0, 0)), 0x7FFFFFFF00000000ull);
    EXPECT_EQ(Bits(marked.Get(0, 1)), 0x7FFFFFFF00000000ull);
    EXPECT_EQ(marked.Get(0, 2), std::numeric_limits<double>::infinity());
    EXPECT_EQ(marked.Get(0, 3), -std::numeric_limits<double>::infinity());
    DMAT raw;
    ASSERT_EQ(Read(GaussFile<GaussSmallHeader>(1, 6, elements), raw, false), 0);
    for (std::uint32_t c = 0; c < 6; ++c) {
        EXPECT_EQ(Bits(raw.Get(0, c)), elements[c]) << c;
    }
    char text[9] = {};
    const double packed = raw.Get(0, 4);
    std::memcpy(text, &packed, 8);
    EXPECT_STREQ(text, "page");
}

} // namespace
