#include "frame/AxisNames.h"

#include <cctype>
#include <string>

AxisName AxisNamed(const MList<WText>& label) {
    if (label.IsEmpty()) {
        return AxisName::Other;
    }
    std::string text;
    label.ForEach([&](const WText& line) {
        if (text.empty()) {
            text = line.text;
        }
    });
    std::string lower;
    for (const char c : text) {
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (lower == "year") {
        return AxisName::Year;
    }
    if (lower == "age") {
        return AxisName::Age;
    }
    if (lower == "cohort") {
        return AxisName::Cohort;
    }
    return AxisName::Other;
}
