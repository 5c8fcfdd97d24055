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

// Powers of ten that a double holds exactly.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr std::uint64_t kLargestExactInteger = std::uint64_t{1} << 53;

// Data files are mostly short plain decimals such as "12.3456". When the
// digits form an integer that a double holds exactly and at most 22 of them
// follow the point, that integer divided by a power of ten is one correctly
// rounded operation on exact operands: the same double that the full
// conversion finds. Anything else (an exponent, more digits, no digits at
// all) is left to it. p is past the sign; *stop receives the end of the
// number.
bool ParsePlainDecimal(const char* p, const char* end, double& value, const char*& stop) {
    const auto isDigit = [](char c) { return static_cast<unsigned char>(c - '0') < 10; };
    // Twenty digits or more may wrap the integer around; such texts are
    // refused below by their length alone.
    std::uint64_t mantissa = 0;
    const char* const start = p;
    for (; p < end && isDigit(*p); ++p) {
        mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
    }
    std::ptrdiff_t digits = p - start;
    std::ptrdiff_t fraction = 0;
    if (p < end && *p == '.') {
        const char* const point = ++p;
        for (; p < end && isDigit(*p); ++p) {
            mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
        }
        fraction = p - point;
        digits += fraction;
    }
    if (digits == 0 || digits > 19 || mantissa > kLargestExactInteger || fraction > 22 ||
        (p < end && (*p == 'e' || *p == 'E'))) {
        return false;
    }
    value = static_cast<double>(mantissa) / kExactPowersOfTen[fraction];
    stop = p;
    return true;
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
    const char* stop = nullptr;
    if (ParsePlainDecimal(p, end, value, stop)) {
        if (consumed) {
            *consumed = static_cast<std::size_t>(stop - begin);
        }
        return negative ? -value : value;
    }
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
