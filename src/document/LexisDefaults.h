#pragma once

#include <cstdint>
#include <string>

class ChartDocument;
class DMAT;

// What a map generated from a table of the mortality and fertility
// databases shows at once: the cell shape of the table's Lexis layout, its
// years and ages as the plot range with "Year" (or "Cohort") and "Age" as
// labels, its description as the title, and for rates levels that double
// from one to the next. Runs on a generated document after its built-in
// defaults and before its colours are made; leaves a document without a
// table as it is.
void ApplyLexisTableDefaults(ChartDocument& document);

// The levels of rates, whose values run over orders of magnitude: each
// boundary twice the one before, from the power of two below the smallest
// positive value to the last one below the largest value. False, leaving
// scale as it is, when the data are not rates: a negative value, a value
// of 10 or more, or no positive value.
bool MakeDoublingScale(const DMAT& data, DMAT& scale);

// The legend's number format for a scale: three significant digits for
// its smallest positive boundary, in fixed or, for very small boundaries,
// exponent form.
std::string ScaleTickFormat(const DMAT& scale);
