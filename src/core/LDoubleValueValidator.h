#pragma once

#include "core/PictureValidator.h"

// A real number: optional sign, digits, optional decimal part, optional
// exponent of one to three digits. A leading point (".5") is refused.
class LDoubleValueValidator : public PictureValidator {
public:
    LDoubleValueValidator()
        : PictureValidator("[+,-]#*#[.[*#]][E[+,-]#[#[#]]]",
                           "Numeric value expected\nExamples\n-1.2  \n+1.3E+001") {}
};
