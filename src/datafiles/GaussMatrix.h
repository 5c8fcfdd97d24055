#pragma once

#include <array>
#include <cstdint>
#include <iosfwd>

class DMAT;
class Prompt;

// The two 16-byte headers of a Gauss matrix file (little-endian). Only the
// identification word and the dimensions are read; the type code and the
// data size are written for other programs.
struct GaussSmallHeader {
    static constexpr std::uint16_t kId = 0xDDDD;
    std::uint16_t rows = 0;
    std::uint16_t columns = 0;

    static GaussSmallHeader Decode(const std::array<unsigned char, 16>& bytes);
    std::array<unsigned char, 16> Encode() const;
};

struct GaussLargeHeader {
    static constexpr std::uint16_t kId = 0xEEDD;
    std::uint32_t rows = 0;
    std::uint32_t columns = 0;

    static GaussLargeHeader Decode(const std::array<unsigned char, 16>& bytes);
    std::array<unsigned char, 16> Encode() const;
};

// Results of ReadGaussMatrix.
enum GaussResult : int { gaussOk = 0, gaussReadError = 1, gaussBadId = 2 };

// Reads a Gauss matrix file from its start into matrix (the file lists the
// elements row by row). With markMissing every NaN element becomes the
// missing marker; without it the elements are stored bit for bit, so that
// packed 8-character texts survive. A file shorter than its header
// announces gives 1; the elements it lacks are missing. A WMException from
// sizing the matrix (a zero dimension, a matrix too large) propagates.
int ReadGaussMatrix(DMAT& matrix, std::istream& input, bool markMissing);

// Shows the message of a non-zero result of ReadGaussMatrix.
void ReportGaussError(Prompt& prompt, int code);
