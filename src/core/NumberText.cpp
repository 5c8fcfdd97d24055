#include "core/NumberText.h"

#include <cerrno>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <locale.h>
#include <vector>

namespace {

locale_t CLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Slow path: strtod under the "C" locale, on a zero-terminated copy.
double StrtodC(const char* begin, const char* end, std::size_t* consumed) {
    std::string copy(begin, end);
    char* stop = nullptr;
    errno = 0;
    const double value = strtod_l(copy.c_str(), &stop, CLocale());
    if (consumed) {
        *consumed = static_cast<std::size_t>(stop - copy.c_str());
    }
    return value;
}

// RAII switch of the calling thread to the "C" locale.
class ScopedCLocale {
public:
    ScopedCLocale() : previous_(uselocale(CLocale())) {}
    ~ScopedCLocale() { uselocale(previous_); }
    ScopedCLocale(const ScopedCLocale&) = delete;
    ScopedCLocale& operator=(const ScopedCLocale&) = delete;

private:
    locale_t previous_;
};

// snprintf under the "C" locale into a string of exactly the printed size.
template <typename... Arguments>
std::string PrintC(const char* format, Arguments... arguments) {
    ScopedCLocale c;
    char small[64];
    const int n = std::snprintf(small, sizeof small, format, arguments...);
    if (n < 0) {
        return {};
    }
    if (static_cast<std::size_t>(n) < sizeof small) {
        return std::string(small, static_cast<std::size_t>(n));
    }
    std::vector<char> big(static_cast<std::size_t>(n) + 1);
    std::snprintf(big.data(), big.size(), format, arguments...);
    return std::string(big.data(), static_cast<std::size_t>(n));
}

} // namespace

double ParseDouble(const char* begin, const char* end, std::size_t* consumed) {
    const char* p = begin;
    while (p < end && IsSpace(*p)) {
        ++p;
    }
    const char* numberStart = p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    // Only decimal forms are numbers here: "inf", "nan" and their kind would
    // let a file smuggle values into a map that no one can type or see, and
    // a hexadecimal form converts only its leading "0" (from_chars does not
    // take the "0x"). Anything out of range is left to strtod for its
    // HUGE_VAL / 0 answers.
    const bool startsDecimal =
        p < end && (IsDigit(*p) || (*p == '.' && p + 1 < end && IsDigit(p[1])));
    if (!startsDecimal) {
        if (consumed) {
            *consumed = 0;
        }
        return 0;
    }
    double value = 0;
    const auto result = std::from_chars(p, end, value, std::chars_format::general);
    if (result.ec == std::errc()) {
        if (consumed) {
            *consumed = static_cast<std::size_t>(result.ptr - begin);
        }
        return negative ? -value : value;
    }
    if (result.ec == std::errc::result_out_of_range) {
        std::size_t used = 0;
        const double slow = StrtodC(numberStart, end, &used);
        if (consumed) {
            *consumed = used == 0 ? 0 : static_cast<std::size_t>(numberStart - begin) + used;
        }
        return slow;
    }
    if (consumed) {
        *consumed = 0;
    }
    return 0;
}

double ParseDouble(const char* text, std::size_t* consumed) {
    const char* end = text;
    while (*end != '\0') {
        ++end;
    }
    return ParseDouble(text, end, consumed);
}

bool ParseWholeDouble(const char* begin, const char* end, double& value) {
    if (begin == end) {
        return false;
    }
    std::size_t used = 0;
    value = ParseDouble(begin, end, &used);
    return used == static_cast<std::size_t>(end - begin);
}

std::string FormatDoubleC(const char* format, double value) {
    return PrintC(format, value);
}

std::string FormatDoubleC(const char* format, int precision, double value) {
    return PrintC(format, precision, value);
}

std::int32_t TruncateToInt32(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    const double whole = std::trunc(value);
    constexpr double lowest = std::numeric_limits<std::int32_t>::min();
    constexpr double highest = std::numeric_limits<std::int32_t>::max();
    if (whole <= lowest) {
        return std::numeric_limits<std::int32_t>::min();
    }
    if (whole >= highest) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(whole);
}
