#pragma once

#include "core/DMAT.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The long tables of the Human Mortality Database and the Human Fertility
// Database: a description line, an empty line, a line of column names and
// then one row per year (or cohort) and age, fields separated by blanks.
// The key columns tell where a row's cell lies in the Lexis diagram.

// Where the cells of a table lie in the Lexis diagram.
enum class LexisLayout {
    // "Year Age" or "Cohort Age": a square per year (or cohort) and age.
    Squares,
    // "Year Age Cohort": the lower and the upper triangle of every square;
    // the lower one holds the cohort year - age, the upper year - age - 1.
    Triangles,
    // "Year ARDY": the people who reach the age during the year, a cell
    // that rises by one year of age across the year.
    YearParallelograms,
    // "Cohort ARDY": a cohort by the age it reaches in each year, a cell
    // that falls by one year of age across the cohort's birth year.
    CohortParallelograms,
};

// The layout as a word: "squares", "triangles", "year-parallelograms",
// "cohort-parallelograms".
std::string_view LexisLayoutName(LexisLayout layout);

// What the lines before the data say.
struct LexisTableHeader {
    // The description of line 1 without its "Last modified" part.
    std::string title;
    // Every column name, in order.
    std::vector<std::string> columns;
    LexisLayout layout = LexisLayout::Squares;
    // The key columns that lead each row: 2, or 3 with a cohort.
    std::size_t keyColumns = 2;
    // The line, counted from 1, that names the columns.
    std::size_t namesLine = 3;

    // The name of the horizontal axis: "Year" or "Cohort".
    const std::string& PeriodName() const { return columns[0]; }
    // The columns a map can show, in order: the key columns and the
    // open-interval flags of fertility tables are not among them.
    std::vector<std::string> ValueColumns() const;
    // The last of them, shown when no column is chosen.
    std::string DefaultValueColumn() const;
    // Empty when name is one of them; else the message that lists them.
    std::string CheckValueColumn(const std::string& name) const;
};

// What a table read into a matrix holds besides its values: the column
// shown and the years (or cohorts) and ages the matrix spans.
struct LexisTable {
    LexisTableHeader header;
    std::string valueColumn;
    std::int32_t firstPeriod = 0;
    std::int32_t lastPeriod = 0;
    std::int32_t firstAge = 0;
    std::int32_t lastAge = 0;
};

// Reads the lines before the data. Nothing, with error holding a message
// that names the line, when they are not the head of such a table.
std::optional<LexisTableHeader> ReadLexisTableHeader(std::string_view bytes, std::string& error);

// Reads a whole table into values, the column valueColumn (the default
// column when empty): rows are ages ascending, columns are years (or
// cohorts) ascending, two columns per year for triangles, the lower
// triangle first. Rows may come in any order; an open age ("110+", "12-")
// takes the row of its number; a year marked "-" gives way to the same
// year marked "+" (a population before and after a change of territory);
// a value "." and every cell that no row gives are missing. A cell given
// twice otherwise, a row with another number of fields than there are
// names, a year, age or cohort that is not a whole number, or a value that
// is not a number refuse the table: false, with error holding a message
// that names the line; table and values are then unchanged.
bool ReadLexisTable(std::string_view bytes, const std::string& valueColumn, LexisTable& table,
                    DMAT& values, std::string& error);
