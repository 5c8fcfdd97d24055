#include "scale/DistinctLevels.h"
#include "core/FormatNumber.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

DMAT Column(const std::vector<double>& values) {
    DMAT scale(static_cast<std::uint32_t>(values.size()), 1);
    for (std::uint32_t i = 0; i < values.size(); ++i) {
        scale.Set(i, 0, values[i]);
    }
    return scale;
}

std::vector<double> Values(const DMAT& scale) {
    std::vector<double> values;
    for (std::uint32_t i = 0; i < scale.GetRows(); ++i) {
        values.push_back(scale.Get(i, 0));
    }
    return values;
}

// Every neighbouring label differs and no value but zero reads as zero.
void ExpectTellsApart(const std::vector<double>& values, const std::string& code) {
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::string label = FormatNumber(values[i], code);
        if (values[i] != 0) {
            EXPECT_NE(label.find_first_of("123456789"), std::string::npos) << label;
        }
        if (i > 0) {
            EXPECT_NE(label, FormatNumber(values[i - 1], code)) << code;
        }
    }
}

} // namespace

TEST(DistinctLevels, RepeatedBoundariesMergeIntoOne) {
    // Quantiles of a matrix of mostly zeros: four boundaries at 0.
    DMAT zeros = Column({0, 0, 0, 0, 0.5, 1.5, 1.5, 7});
    EXPECT_EQ(MergeRepeatedBoundaries(zeros), 4u);
    EXPECT_EQ(Values(zeros), (std::vector<double>{0, 0.5, 1.5, 7}));

    DMAT same = Column({3, 3, 3});
    EXPECT_EQ(MergeRepeatedBoundaries(same), 1u);
    EXPECT_EQ(Values(same), (std::vector<double>{3}));

    DMAT distinct = Column({1, 2, 3});
    EXPECT_EQ(MergeRepeatedBoundaries(distinct), 3u);
    EXPECT_EQ(Values(distinct), (std::vector<double>{1, 2, 3}));

    DMAT none;
    EXPECT_EQ(MergeRepeatedBoundaries(none), 0u);
}

TEST(DistinctLevels, TheFormatTellsNeighboursApart) {
    struct Case {
        std::vector<double> values;
        const char* current;
        const char* expected;
    };
    const Case cases[] = {
        // What the default four decimals tell apart keeps them.
        {{0.0012, 0.0035, 0.01, 0.2}, "F4", "F4"},
        {{0, 0.5, 1.5, 7}, "F4", "F4"},
        {{10, 20, 30}, "F2", "F2"},
        // Rates around 0.00002: "0.0000" for all under F4.
        {{0.00001, 0.00002, 0.00004, 0.00009}, "F4", "F5"},
        {{0.000012, 0.000014, 0.000019}, "F4", "F6"},
        // Too small for six decimals: the exponent form.
        {{2.1e-7, 3.4e-7, 5e-7}, "F4", "E1"},
        {{1.23e-8, 1.24e-8}, "F4", "E2"},
        {{1.5e12, 2.5e12, 4e12}, "F4", "F4"},
        // Too large to print in full: exponent form, not thirteen digits.
        {{1.1e12, 1.2e12, 1.4e12}, "E0", "E1"},
        // Negative and mixed boundaries.
        {{-0.00003, -0.00001, 0, 0.00002}, "F4", "F5"},
        {{-1.5, -0.25, 0.125}, "F0", "F1"},
        // A current code that is no format at all still needs to tell them
        // apart: it prints as "F2".
        {{0.001, 0.002}, "bogus", "F3"},
    };
    for (const Case& c : cases) {
        const std::string code = DistinctLabelFormat(c.values, c.current);
        EXPECT_EQ(code, c.expected) << c.values.front();
        ExpectTellsApart(c.values, code);
    }
}

TEST(DistinctLevels, OneValueOrNoneNeedsNoMoreThanNotToReadAsZero) {
    EXPECT_EQ(DistinctLabelFormat(std::vector<double>{}, "F4"), "F4");
    EXPECT_EQ(DistinctLabelFormat(std::vector<double>{0}, "F0"), "F0");
    EXPECT_EQ(DistinctLabelFormat(std::vector<double>{0.00002}, "F4"), "F5");
}
