#include "document/DerivedDefaults.h"

#include "document/ChartDocument.h"
#include "document/LexisDefaults.h"
#include "document/NewSetup.h"
#include "document/SafeFile.h"
#include "scale/ColorSchemeChoice.h"
#include "scale/DistinctLevels.h"
#include "scale/GeographyColorScheme.h"
#include "scale/MapScale.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

// Missing cells in grey, apart from both ends and the middle of the
// diverging colours.
constexpr LRGBColor kDerivedMissingColor = 0xC0C0C0;

// The scale reaches about as far as this share of the values: the rest,
// noisy cells of few deaths at young ages mostly, falls into the outermost
// classes instead of stretching every class.
constexpr double kBulk = 0.9;
// The outermost boundary may fall this much short of that reach, rather
// than take the next, much coarser step.
constexpr double kReach = 0.8;

// Factors between neighbouring boundaries of a ratio scale, smallest
// first: each a root of 2, so that every second or fourth boundary is a
// power of 2 (0.25, 0.5, 1, 2, 4).
const std::array<double, 7> kRatioFactors = {
    std::exp2(0.125), std::exp2(0.25), std::exp2(0.5), 2, 4, 8, 16};

// The kBulk quantile of the values given.
double BulkExtent(std::vector<double>& values) {
    const std::size_t at =
        std::min(values.size() - 1, static_cast<std::size_t>(std::ceil(kBulk * values.size())) - 1);
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(at),
                     values.end());
    return values[at];
}

template <typename Measure>
std::vector<double> Measured(const DMAT& data, Measure measure) {
    std::vector<double> values;
    if (data.IsEmpty()) {
        return values;
    }
    const std::size_t cells = static_cast<std::size_t>(data.GetRows()) * data.GetColumns();
    values.reserve(cells);
    for (std::size_t i = 0; i < cells; ++i) {
        const double value = data.Data()[i];
        if (!DMAT::IsMissingValue(value)) {
            if (const double m = measure(value); std::isfinite(m)) {
                values.push_back(m);
            }
        }
    }
    return values;
}

std::string StemOf(const std::string& name) {
    std::string file = FileNameOf(name);
    const std::size_t dot = file.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? file : file.substr(0, dot);
}

void SetLine(MList<WText>& lines, const std::string& text) {
    lines.Flush();
    WText line;
    line.text = text;
    lines.addAtTail(line);
}

// The decimals that the step of an even scale needs, and no more: 0.02
// prints as "0.02", 0.025 as "0.025".
std::string StepFormat(const DMAT& scale) {
    if (BoundaryCount(scale) < 2) {
        return "F2";
    }
    const double step = std::fabs(scale.Get(1, 0) - scale.Get(0, 0));
    if (!(step > 0) || !std::isfinite(step)) {
        return "F2";
    }
    int decimals = std::max(0, -static_cast<int>(std::floor(std::log10(step) + 1e-9)));
    const double mantissa = step / std::pow(10.0, std::floor(std::log10(step) + 1e-9));
    if (std::fabs(mantissa - 2.5) < 1e-6) {
        ++decimals;
    }
    std::string code = "F";
    code += std::to_string(std::min(decimals, 9));
    return code;
}

} // namespace

bool MakeSymmetricRatioScale(const DMAT& data, DMAT& scale, unsigned side) {
    std::vector<double> logs =
        Measured(data, [](double v) { return v > 0 ? std::fabs(std::log(v)) : NAN; });
    if (logs.empty() || side == 0) {
        return false;
    }
    const double extent = kReach * BulkExtent(logs) / side;
    double factor = kRatioFactors.back();
    for (const double f : kRatioFactors) {
        if (std::log(f) >= extent) {
            factor = f;
            break;
        }
    }
    scale.SetSize(2 * side + 1, 1);
    for (unsigned i = 0; i <= 2 * side; ++i) {
        // pow gives 1 exactly for the middle boundary.
        scale.Set(i, 0, std::pow(factor, static_cast<double>(i) - side));
    }
    return true;
}

bool MakeSymmetricDifferenceScale(const DMAT& data, DMAT& scale, unsigned side) {
    std::vector<double> sizes = Measured(data, [](double v) { return std::fabs(v); });
    if (sizes.empty() || side == 0) {
        return false;
    }
    const double extent = kReach * BulkExtent(sizes) / side;
    // The step: 1, 2, 2.5 or 5 times a power of ten, the first that reaches.
    double step = 1;
    if (extent > 0) {
        const double power = std::pow(10.0, std::floor(std::log10(extent)));
        step = 10 * power;
        for (const double m : {1.0, 2.0, 2.5, 5.0, 10.0}) {
            if (m * power >= extent * (1 - 1e-12)) {
                step = m * power;
                break;
            }
        }
    }
    scale.SetSize(2 * side + 1, 1);
    for (unsigned i = 0; i <= 2 * side; ++i) {
        scale.Set(i, 0, (static_cast<double>(i) - side) * step);
    }
    return true;
}

std::string DerivedTitle(const ChartDocument& document) {
    if (!document.Derived) {
        return std::string();
    }
    const DerivedSetup& setup = *document.Derived;
    const std::string dataName = document.GetSources().dataName.value_or("");
    // A database table is named by its column and then by the table.
    const bool table = document.Table.has_value();
    const std::string first = table ? document.Table->valueColumn : StemOf(dataName);
    const std::string suffix = table ? ", " + StemOf(dataName) : std::string();
    std::string second;
    if (NeedsSecondMatrix(setup.operation)) {
        const bool secondTable = setup.secondFormat == kLexisTableFormat ||
                                 (setup.secondFormat == 0 && !setup.secondName && table);
        second = secondTable && !setup.secondColumn.empty()
                     ? setup.secondColumn
                     : StemOf(setup.secondName.value_or(dataName));
    }
    switch (setup.operation) {
    case DeriveOperation::Ratio:
        return "Ratio of " + first + " to " + second + suffix;
    case DeriveOperation::Difference:
        return "Difference " + first + " - " + second + suffix;
    case DeriveOperation::Improvement:
        return "Annual rate of improvement of " + first + suffix +
               (setup.lag > 1 ? ", lag " + std::to_string(setup.lag) : std::string());
    case DeriveOperation::Smooth: {
        const std::string width = std::to_string(2 * setup.halfWidth + 1);
        return first + suffix + ", smoothed over " + width + " x " + width + " cells";
    }
    }
    return first;
}

void ApplyDerivedDefaults(ChartDocument& document) {
    if (!document.Derived || document.DataMatrix.IsEmpty()) {
        return;
    }
    SetLine(document.Frame.title, DerivedTitle(document));
    const DeriveOperation operation = document.Derived->operation;
    if (operation == DeriveOperation::Smooth) {
        return;
    }
    DMAT scale;
    const bool made = operation == DeriveOperation::Ratio
                          ? MakeSymmetricRatioScale(document.DataMatrix, scale)
                          : MakeSymmetricDifferenceScale(document.DataMatrix, scale);
    if (!made) {
        return;
    }
    // The load, or whoever applies these defaults later, classifies the map
    // once the scale is final.
    document.ScaleValues = std::move(scale);
    document.MissingColor = kDerivedMissingColor;
    LRGBColorVect levels;
    FitLevelColors(levels, document.BoundaryCount(), kDerivedMissingColor);
    ColorSchemeChoice choice;
    if (ApplyColorScheme(levels, kBlueRedScheme, document.LevelColors, choice) &&
        operation == DeriveOperation::Improvement) {
        // Falling rates are the good news: they take the blue end, rising
        // ones the red.
        LRGBColorVect& colors = document.LevelColors;
        for (std::uint32_t i = 0, j = colors.LevelCount() - 1; i < j; ++i, --j) {
            std::swap(colors.Level(i), colors.Level(j));
        }
    }
    document.Legend.SetTickFormat(DistinctLabelFormat(
        document.ScaleValues,
        operation == DeriveOperation::Ratio ? "F2" : StepFormat(document.ScaleValues)));
}

void ApplySmoothedDefaults(ChartDocument& document) {
    DMAT scale;
    const bool made = document.Table ? MakeDoublingScale(document.DataMatrix, scale)
                                     : SmartScale(document.DataMatrix, scale, document.GetPrompt());
    if (!made) {
        return;
    }
    MergeRepeatedBoundaries(scale);
    document.ScaleValues = std::move(scale);
    document.LevelColors = LRGBColorVect();
    FitLevelColors(document.LevelColors, document.BoundaryCount(), document.MissingColor);
    MakeGeographyColors(document.LevelColors);
    document.Legend.SetTickFormat(DistinctLabelFormat(
        document.ScaleValues,
        document.Table ? ScaleTickFormat(document.ScaleValues) : document.Legend.GetTickFormat()));
}
