#pragma once

// The layout of a delimited data matrix file: how fields and records are
// separated. The document keeps one of these for its data file; the dialog
// that creates a document from a text file edits one.
struct AsciiFormat {
    enum class Field { Comma, Spaces, Custom };
    enum class Record { Crlf, Custom };

    Field fieldKind = Field::Comma;
    char customField = ',';
    Record recordKind = Record::Crlf;
    char customRecord = ';';

    // The byte that separates fields: ",", a blank, or the custom byte.
    unsigned char FieldDelimiter() const {
        switch (fieldKind) {
        case Field::Comma:
            return ',';
        case Field::Spaces:
            return ' ';
        case Field::Custom:
            break;
        }
        return static_cast<unsigned char>(customField);
    }

    // The byte that ends a record: a line feed (carriage returns before it
    // are tolerated by the scanner) or the custom byte.
    unsigned char RecordDelimiter() const {
        return recordKind == Record::Crlf ? '\n' : static_cast<unsigned char>(customRecord);
    }

    // Both delimiters custom and the same byte: the file holds a row count,
    // a column count and then one value per line.
    bool IsLineLayout() const {
        return fieldKind == Field::Custom && recordKind == Record::Custom &&
               customField == customRecord;
    }
};
