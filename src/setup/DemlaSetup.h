#pragma once

#include "setup/DemlaSetupException.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class SetupWordIterator;

// A section as it stands in a setup file: its name, where its header's "["
// stands and where its body ends (the next header's "[" or the end).
struct SetupSectionSpan {
    std::string name;
    std::size_t headerBegin;
    std::size_t bodyEnd;
};

// Every section of a setup file in order, found as FindSection finds them;
// after a syntax error, the sections that ended before it.
std::vector<SetupSectionSpan> ListSetupSections(std::string_view bytes);

// Kinds of tokens in a setup file. The numbers are part of the reader's
// interface: loaders compare the type of the last element read with them.
// Number 12 is the tokenizer's own "no token yet" state and never returned.
enum SetupTokenType : unsigned {
    ttEnd = 0,
    ttSpace = 1,
    ttLiteral = 2,
    ttOpenBrace = 3,
    ttCloseBrace = 4,
    ttOpenBracket = 5,
    ttCloseBracket = 6,
    ttString = 7,
    ttNumber = 8,
    ttComma = 9,
    ttSemicolon = 10,
    ttEqual = 11,
    ttComment = 13,
};

// Forms of an item's value.
enum SetupContainerType : unsigned {
    ctScalar = 1,
    ctVector = 2,
    ctMatrix = 3,
    ctEmpty = 4,
};

// Reads a setup file one section at a time. FindSection loads the body of
// a section; FindItem (or ParseItem for loaders that walk every item)
// positions on one item and classifies its value; the getters return its
// elements. Every syntax error is thrown as a DemlaSetupException carrying
// the names of the section and the item being read.
//
// Texts returned by the getters live in the reader's token buffer and stay
// valid only until the next getter call. A null text means an empty value.
class DemlaSetup {
public:
    // Size of the token buffer, terminating zero included: a token holds at
    // most kTokenBufferSize - 1 bytes.
    static constexpr std::size_t kTokenBufferSize = 65535;

    DemlaSetup();
    DemlaSetup(const DemlaSetup&) = delete;
    DemlaSetup& operator=(const DemlaSetup&) = delete;

    // Loads the body of the first section named exactly sectionName. The
    // file is read anew on every call. False when there is no such section;
    // the previously loaded section then stays loaded.
    bool FindSection(const std::string& fileName, std::string_view sectionName);

    // Loads the first item of the section named exactly itemName (a whole
    // word, case sensitive) and returns its value text; null when there is
    // none, the previously loaded item then staying loaded.
    const char* FindItem(std::string_view itemName);

    // Loads the item whose name the iterator stands on, under the given
    // name. The iterator must walk this reader's current section text.
    const char* ParseItem(const SetupWordIterator& iterator, std::string_view itemName);

    // Classifies the loaded value and counts its rows and columns.
    void InspectContainerType();

    unsigned GetContainerType() const { return containerType_; }
    std::uint32_t GetRows() const { return rows_; }
    std::uint32_t GetColumns() const { return columns_; }
    std::uint32_t GetSize() const { return rows_ > columns_ ? rows_ : columns_; }

    // With a null buffer: back to the first element of the loaded item,
    // returns false. Otherwise reads the next element (number, literal or
    // string; everything else is passed over) into buffer, at most max - 1
    // bytes, and returns true; false at the end of the item's value.
    bool ItemIterator(std::string* buffer, std::size_t max = kTokenBufferSize);

    // The type of the last token that ItemIterator read.
    unsigned GetLastTokenType() const { return lastTokenType_; }

    // Positions on element (row, column) and leaves its text in the token
    // buffer; false for an empty value.
    bool GetElement(std::uint32_t row = 0, std::uint32_t column = 0);

    double GetDouble(std::uint32_t row = 0, std::uint32_t column = 0);
    const char* GetString(std::uint32_t row = 0, std::uint32_t column = 0);
    const char* GetLiteral(std::uint32_t row = 0, std::uint32_t column = 0);
    bool GetBool(std::uint32_t row = 0, std::uint32_t column = 0);

    // Raises the "expected ..." error of a literal, number or string when
    // the last element read is of another type.
    void CheckElementType(SetupTokenType expected) const;

    // The raw value text up to the terminating ";" (untrimmed); null when
    // no ";" follows.
    const char* GetValueText();

    // The value as a file name: the text between two double quotes, or the
    // trimmed bare text. quoted tells whether a quote was seen. Null when no
    // item is loaded.
    const char* GetQuotedValue(bool* quoted = nullptr);

    // The loaded section body (null before the first section is loaded).
    const char* GetSectionText() const;
    const std::optional<std::string>& GetSectionName() const { return sectionName_; }
    const std::optional<std::string>& GetItemName() const { return itemName_; }

    // The tokenizer: reads the token at the scan position into token (at
    // most max - 1 bytes, else error 1) and returns its type.
    SetupTokenType NextToken(std::string& token, std::size_t max = kTokenBufferSize);

    // Moves the tokenizer to an offset in the section text.
    void SetScanPosition(std::size_t offset);

private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    [[noreturn]] void Raise(int code) const;
    void LoadText(const std::string& bytes, std::size_t start, std::size_t end);
    void UnloadItem();
    void Classify();
    std::size_t FindValueEnd(std::size_t from) const;
    SetupTokenType ReadToken(std::size_t& position, std::size_t limit, std::string& token,
                             std::size_t max) const;

    std::string sectionText_;
    // The line of the file on which the loaded section text begins.
    std::size_t sectionLine_ = 1;
    bool sectionLoaded_ = false;
    std::size_t valueStart_ = kNone;
    // Where the loaded item's value ends (its terminating ";", or the end of
    // the section): element reading never goes beyond it.
    std::size_t valueEnd_ = kNone;
    unsigned containerType_ = 0;
    std::string token_;
    std::size_t elementCursor_ = kNone;
    unsigned lastTokenType_ = ttEnd;
    std::size_t scanPosition_ = 0;
    std::optional<std::string> itemName_;
    std::optional<std::string> sectionName_;
    std::uint32_t rows_ = 0;
    std::uint32_t columns_ = 0;
};
