#pragma once

#include <cstdint>
#include <string>

class DMAT;

// What reading a Gauss matrix file gave.
struct GaussFileResult {
    bool opened = false;       // false: the file could not be opened
    int code = 0;              // the reader's result: 0 success
    std::uint32_t columns = 0; // as the header announces them
};

// Reads the Gauss matrix file at path. A header that announces more
// elements than the file holds is a read error (code 1) found before any
// memory is taken for them, so a damaged header cannot make the program
// allocate gigabytes; the matrix is then left empty.
GaussFileResult ReadGaussFile(const std::string& path, DMAT& matrix, bool markMissing);

// The text packed into the eight bytes of a Gauss element (character
// data): the bytes up to the first zero, in lower case.
std::string GaussElementText(double element);
