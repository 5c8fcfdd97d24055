#include "core/DMAT.h"
#include "core/WMException.h"
#include "datafiles/AsciiMatrix.h"
#include "support/ScriptedPrompt.h"

#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

// The threaded second pass and the whole-record fast path are ways of
// reading, not rules: on any file they must give the matrix, the result and
// the messages of the plain one-thread scan, bit for bit and in order.

namespace {

// Everything a load leaves behind.
struct Outcome {
    int result = -1;
    std::string thrown;
    std::uint32_t rows = 0;
    std::uint32_t columns = 0;
    std::vector<std::uint64_t> cells; // bit patterns, so that missing compares too
    std::vector<std::string> boxes;
};

Outcome Read(const std::string& text, const AsciiFormat& format, const AsciiReading& reading) {
    Outcome outcome;
    ScriptedPrompt prompt;
    DMAT matrix;
    try {
        outcome.result = LoadAsciiMatrix(format, matrix, text, prompt, std::nullopt, reading);
    } catch (const WMException&) {
        outcome.thrown = "WMException";
    }
    outcome.rows = matrix.GetRows();
    outcome.columns = matrix.GetColumns();
    const std::size_t count = static_cast<std::size_t>(outcome.rows) * outcome.columns;
    outcome.cells.resize(count);
    if (count != 0) {
        std::memcpy(outcome.cells.data(), matrix.Data(), count * sizeof(double));
    }
    for (const ScriptedPrompt::Entry& box : prompt.Entries()) {
        outcome.boxes.push_back(box.caption + ": " + box.text);
    }
    return outcome;
}

bool operator==(const Outcome& a, const Outcome& b) {
    return a.result == b.result && a.thrown == b.thrown && a.rows == b.rows &&
           a.columns == b.columns && a.cells == b.cells && a.boxes == b.boxes;
}

// Random files in the shapes data files come in, and the ways they go wrong.
class FileMaker {
public:
    explicit FileMaker(std::uint32_t seed) : random_(seed) {}

    AsciiFormat Format() {
        switch (Pick(6)) {
        case 0:
            return {};
        case 1:
            return {AsciiFormat::Field::Spaces};
        case 2:
            return {AsciiFormat::Field::Custom, ';'};
        case 3:
            return {AsciiFormat::Field::Custom, '\t'};
        case 4:
            return {AsciiFormat::Field::Custom, ';', AsciiFormat::Record::Custom, '|'};
        default:
            return {AsciiFormat::Field::Comma, ',', AsciiFormat::Record::Custom, '#'};
        }
    }

    std::string Text(const AsciiFormat& format) {
        const char field = static_cast<char>(format.FieldDelimiter());
        const bool lines = format.recordKind == AsciiFormat::Record::Crlf;
        const std::string recordEnd =
            lines ? (Pick(2) ? "\r\n" : "\n")
                  : std::string(1, static_cast<char>(format.RecordDelimiter()));
        const int rows = Pick(40);
        const int columns = 1 + Pick(8);
        const bool ragged = Pick(3) == 0;
        const bool messy = Pick(2) == 0;
        std::string text;
        for (int r = 0; r < rows; ++r) {
            const int width = ragged ? Pick(columns + 2) : columns;
            for (int c = 0; c < width; ++c) {
                if (c) {
                    text += field;
                }
                if (messy && Pick(8) == 0) {
                    text += Blank();
                }
                text += Value(messy);
                if (messy && Pick(8) == 0) {
                    text += Blank();
                }
            }
            if (messy && Pick(10) == 0) {
                text += field; // a delimiter at the end of the line
            }
            if (messy && Pick(12) == 0) {
                text += Comment();
            }
            if (messy && Pick(15) == 0) {
                text += recordEnd; // a blank line
            }
            if (format.recordKind == AsciiFormat::Record::Custom) {
                text += static_cast<char>(format.RecordDelimiter());
                if (Pick(3) == 0) {
                    text += "\n";
                }
            } else if (r + 1 < rows || Pick(2)) {
                // Sometimes the last line goes without a line end.
                text += recordEnd;
            }
        }
        if (messy && Pick(10) == 0) {
            text += Pick(2) ? "  " : "@ unclosed";
        }
        return text;
    }

private:
    int Pick(int n) { return static_cast<int>(random_() % static_cast<std::uint32_t>(n)); }

    std::string Value(bool messy) {
        static const char* const kOdd[] = {"NA",
                                           "x",
                                           "1.2.3",
                                           "-",
                                           ".",
                                           "+.5",
                                           "1e400",
                                           "5.",
                                           "e5",
                                           "1e",
                                           "--3",
                                           "-0.0",
                                           "1.5e-3",
                                           "",
                                           "12345678901234567890123",
                                           "0.1234567890123456789012345"};
        if (messy && Pick(5) == 0) {
            return kOdd[Pick(static_cast<int>(std::size(kOdd)))];
        }
        std::string number = Pick(6) == 0 ? "-" : "";
        number += std::to_string(Pick(100000));
        if (Pick(4)) {
            number += "." + std::to_string(Pick(10000));
        }
        return number;
    }

    std::string Blank() {
        static const char* const kBlanks[] = {" ", "  ", "\t", " \t "};
        return kBlanks[Pick(4)];
    }

    std::string Comment() {
        static const char* const kComments[] = {"@ note @", "@note@", "@1,2\n3@",
                                                "@ note\nacross lines, 1, 2\n@"};
        return kComments[Pick(4)];
    }

    std::mt19937 random_;
};

TEST(AsciiReading, ThreadsAndWholeRecordsReadAsTheOneThreadScanDoes) {
    AsciiReading scan;
    scan.threads = 1;
    scan.wholeRecords = false;
    int threadedFiles = 0;
    for (std::uint32_t seed = 1; seed <= 800; ++seed) {
        FileMaker maker(seed);
        const AsciiFormat format = maker.Format();
        const std::string text = maker.Text(format);
        const Outcome expected = Read(text, format, scan);
        threadedFiles += expected.rows > 1;
        for (const unsigned threads : {1u, 2u, 3u, 7u}) {
            for (const bool whole : {false, true}) {
                AsciiReading reading;
                reading.minimumBytes = 0;
                reading.threads = threads;
                reading.wholeRecords = whole;
                ASSERT_TRUE(Read(text, format, reading) == expected)
                    << "seed " << seed << ", " << threads << " threads, whole records " << whole
                    << ", file:\n"
                    << text;
            }
        }
    }
    // The files were not all trivial.
    EXPECT_GT(threadedFiles, 500);
    // Nor is no buffer at all a problem for either path.
    for (const bool whole : {false, true}) {
        AsciiReading reading;
        reading.wholeRecords = whole;
        ScriptedPrompt prompt;
        DMAT matrix;
        EXPECT_EQ(LoadAsciiMatrix({}, matrix, std::string_view(), prompt, std::nullopt, reading),
                  0);
        EXPECT_EQ(matrix.GetRows(), 0u);
    }
}

TEST(AsciiReading, FilesAboveTheThresholdReadAlikeWithTheUsualSettings) {
    // Over a megabyte, so that the usual settings split it for the cores
    // there are, with the irregular records of the generated files.
    FileMaker maker(7);
    const AsciiFormat format;
    std::string text;
    while (text.size() <= AsciiReading{}.minimumBytes) {
        text += maker.Text(format) + "\n";
    }
    AsciiReading scan;
    scan.threads = 1;
    scan.wholeRecords = false;
    const Outcome expected = Read(text, format, scan);
    EXPECT_GT(expected.rows, 1000u);
    EXPECT_TRUE(Read(text, format, AsciiReading{}) == expected);
    AsciiReading eight;
    eight.threads = 8;
    EXPECT_TRUE(Read(text, format, eight) == expected);
}

TEST(AsciiReading, MessagesKeepTheirOrderAcrossStretches) {
    // Numbers too large to hold in several stretches make one warning with
    // their total, after the question about different field counts.
    std::string text;
    for (int r = 0; r < 30; ++r) {
        text += r % 7 == 0 ? "1e400,2\n" : (r == 15 ? "3\n" : "4,5\n");
    }
    AsciiReading reading;
    reading.minimumBytes = 0;
    reading.threads = 4;
    const Outcome threaded = Read(text, {}, reading);
    ASSERT_EQ(threaded.boxes.size(), 2u);
    EXPECT_EQ(threaded.boxes[0],
              "Warning: Different text lines have different number of fields\r\nContinue?");
    EXPECT_EQ(threaded.boxes[1], "Warning: 5 numbers of the data file are too large to be held "
                                 "and read as missing\r\nCheck ASCII file");
    reading.threads = 1;
    EXPECT_TRUE(Read(text, {}, reading) == threaded);
}

} // namespace
