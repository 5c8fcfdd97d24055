#pragma once

#include "core/PictureValidator.h"

// A number format code as dialogs take it: "F" or "E" and one or two
// digits.
class LNumericFormatValidator : public PictureValidator {
public:
    LNumericFormatValidator()
        : PictureValidator("{F,E}#[#]", "Numeric format expected\nExamples\nF2\nE2") {}
};
