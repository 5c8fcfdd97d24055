#include "setup/DemlaSetup.h"

#include "core/NumberText.h"
#include "setup/CharClasses.h"
#include "setup/SetupText.h"
#include "setup/SetupWordIterator.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Where a token lies in the text: its type, the bytes of its text (without
// the quotes of a string or the "/@" and ";" of a comment) and the position
// after it.
struct TokenSpan {
    SetupTokenType type;
    std::size_t textBegin;
    std::size_t textEnd;
    std::size_t next;
};

bool ContinuesWord(unsigned char c) {
    return IsSetupLetter(c) || IsSetupDigit(c) || c == '_' || c == '.';
}

bool IsElement(unsigned type) {
    return type == ttNumber || type == ttLiteral || type == ttString;
}

// Finds the token that begins at or after pos, reading no byte at or beyond
// limit; the limit acts as the zero byte that ends the text. A byte that
// starts no token is passed over. ttEnd consumes nothing, so reading on
// after the end keeps answering ttEnd.
TokenSpan ScanToken(const std::string& text, std::size_t pos, std::size_t limit) {
    const auto at = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    std::size_t p = pos;
    while (p < limit) {
        const unsigned char c = at(p);
        std::size_t q = p + 1;
        if (IsSetupSpace(c)) {
            while (q < limit && IsSetupSpace(at(q))) {
                ++q;
            }
            return {ttSpace, p, q, q};
        }
        if (IsSetupLetter(c) || c == '_') {
            while (q < limit && ContinuesWord(at(q))) {
                ++q;
            }
            return {ttLiteral, p, q, q};
        }
        if (IsSetupDigit(c) || c == '-' || c == '+' || c == '.') {
            // An exponent's sign belongs to the number: 1.5E+03.
            while (q < limit &&
                   (ContinuesWord(at(q)) ||
                    ((at(q) == '+' || at(q) == '-') && (at(q - 1) == 'E' || at(q - 1) == 'e')))) {
                ++q;
            }
            return {ttNumber, p, q, q};
        }
        switch (c) {
        case '"':
            // A quote preceded by a backslash belongs to the string; the
            // byte before the first one inside is the opening quote.
            while (q < limit && !(at(q) == '"' && at(q - 1) != '\\')) {
                ++q;
            }
            return {ttString, p + 1, q, q < limit ? q + 1 : q};
        case '{':
            return {ttOpenBrace, p, q, q};
        case '}':
            return {ttCloseBrace, p, q, q};
        case '[':
            return {ttOpenBracket, p, q, q};
        case ']':
            return {ttCloseBracket, p, q, q};
        case ',':
            return {ttComma, p, q, q};
        case ';':
            return {ttSemicolon, p, q, q};
        case '=':
            return {ttEqual, p, q, q};
        case '/':
            if (q < limit && at(q) == '@') {
                bool quoted = false;
                std::size_t r = q + 1;
                for (; r < limit; ++r) {
                    const unsigned char d = at(r);
                    if (d == '"') {
                        if (!quoted) {
                            quoted = true;
                        } else if (at(r - 1) != '\\') {
                            quoted = false;
                        }
                    } else if (d == ';' && !quoted) {
                        return {ttComment, q + 1, r, r + 1};
                    }
                }
                return {ttComment, q + 1, r, r};
            }
            break;
        default:
            break;
        }
        p = q;
    }
    return {ttEnd, p, p, p};
}

// The whole file as bytes; error 2 (with empty names) when it cannot be
// opened or read, or is not a regular file: a device such as /dev/zero
// never ends and a FIFO would block the program until someone writes.
std::string ReadFileBytes(const std::string& fileName) {
    const auto unreadable = [] { return DemlaSetupException(std::string(), std::string(), 2); };
    // Non-blocking, so that opening a FIFO returns at once; its type is
    // checked on the open file, so a swap of the name cannot slip past.
    const int fd = ::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        throw unreadable();
    }
    struct stat status {};
    std::string bytes;
    bool good = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
    char chunk[1 << 16];
    while (good) {
        const ssize_t count = ::read(fd, chunk, sizeof chunk);
        if (count > 0) {
            bytes.append(chunk, static_cast<std::size_t>(count));
        } else if (count == 0) {
            break;
        } else if (errno != EINTR) {
            good = false;
        }
    }
    ::close(fd);
    if (!good) {
        throw unreadable();
    }
    return bytes;
}

struct SectionScan {
    int error = 0; // the reader's error code, 0 when the scan ended well
};

// Walks the headers of a setup file. onBracket(position) is called for the
// "[" that opens a header, onHeader(name, body start) for its "]"; either
// returns false to end the scan. A "[" within a header name belongs to the
// name. Strings and comments are passed over, so a bracket inside them opens
// or closes nothing: a note such as "/@ rates [per 1000];" leaves the
// section in one piece. A "]" outside a header is error 10, a string that
// is not closed error 22.
template <typename OnBracket, typename OnHeader>
SectionScan ScanSections(std::string_view bytes, OnBracket onBracket, OnHeader onHeader) {
    const std::size_t size = bytes.size();
    bool headerOpen = false;
    std::size_t nameStart = 0;
    std::size_t i = 0;
    // Passes over a string whose opening quote was just read; false when
    // the file ends inside it.
    const auto skipString = [&] {
        while (i < size) {
            const bool closing = bytes[i] == '"' && bytes[i - 1] != '\\';
            ++i;
            if (closing) {
                return true;
            }
        }
        return false;
    };
    while (i < size) {
        const char c = bytes[i++];
        if (c == '[') {
            if (!headerOpen) {
                if (!onBracket(i - 1)) {
                    return {};
                }
                headerOpen = true;
                nameStart = i;
            }
        } else if (c == ']') {
            if (!headerOpen) {
                return {10};
            }
            headerOpen = false;
            if (!onHeader(bytes.substr(nameStart, i - 1 - nameStart), i)) {
                return {};
            }
        } else if (c == '"') {
            if (!skipString()) {
                return {22};
            }
        } else if (c == '/' && !headerOpen && i < size && bytes[i] == '@') {
            // A comment runs to the next ";" outside a string.
            ++i;
            while (i < size && bytes[i] != ';') {
                if (bytes[i++] == '"' && !skipString()) {
                    return {22};
                }
            }
            ++i;
        }
    }
    return {};
}

} // namespace

DemlaSetup::DemlaSetup() {
    token_.reserve(kTokenBufferSize);
}

void DemlaSetup::Raise(int code) const {
    throw DemlaSetupException(sectionName_, itemName_, code);
}

bool DemlaSetup::FindSection(const std::string& fileName, std::string_view sectionName) {
    const std::string bytes = ReadFileBytes(fileName);
    bool found = false;
    std::size_t start = 0;
    std::size_t end = bytes.size() + 1;
    const SectionScan scan = ScanSections(
        bytes,
        [&](std::size_t bracket) {
            if (found) {
                // The next header ends the sought body.
                end = bracket + 1;
            }
            return !found;
        },
        [&](std::string_view name, std::size_t bodyBegin) {
            if (name == sectionName) {
                found = true;
                start = bodyBegin;
            }
            return true;
        });
    if (scan.error != 0) {
        Raise(scan.error);
    }
    if (!found) {
        return false;
    }
    sectionName_ = std::string(sectionName);
    LoadText(bytes, start, end);
    return true;
}

std::vector<SetupSectionSpan> ListSetupSections(std::string_view bytes) {
    std::vector<SetupSectionSpan> sections;
    std::size_t header = 0;
    const SectionScan scan = ScanSections(
        bytes,
        [&](std::size_t bracket) {
            if (!sections.empty()) {
                sections.back().bodyEnd = bracket;
            }
            header = bracket;
            return true;
        },
        [&](std::string_view name, std::size_t) {
            sections.push_back({std::string(name), header, bytes.size()});
            return true;
        });
    // After a syntax error only the sections that ended before it are whole.
    if (scan.error != 0 && !sections.empty()) {
        sections.pop_back();
    }
    return sections;
}

void DemlaSetup::LoadText(const std::string& bytes, std::size_t start, std::size_t end) {
    if (end <= start || end - 1 > bytes.size()) {
        Raise(3);
    }
    const auto lineAt = [&bytes](std::size_t offset) {
        return static_cast<std::size_t>(std::count(
                   bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(offset), '\n')) +
               1;
    };
    // No text file holds a zero byte; one in a section would end its text
    // for every reader and silently drop the rest of it.
    const std::size_t zero = std::string_view(bytes).substr(start, end - 1 - start).find('\0');
    if (zero != std::string_view::npos) {
        throw DemlaSetupException(sectionName_, std::nullopt, kSetupZeroByte, lineAt(start + zero));
    }
    sectionText_.assign(bytes, start, end - 1 - start);
    sectionLine_ = lineAt(start);
    sectionLoaded_ = true;
    scanPosition_ = 0;
    UnloadItem();
}

void DemlaSetup::UnloadItem() {
    valueStart_ = kNone;
    valueEnd_ = kNone;
    elementCursor_ = kNone;
    containerType_ = 0;
    rows_ = 0;
    columns_ = 0;
}

const char* DemlaSetup::GetSectionText() const {
    return sectionLoaded_ ? sectionText_.c_str() : nullptr;
}

const char* DemlaSetup::FindItem(std::string_view itemName) {
    if (!sectionLoaded_) {
        return nullptr;
    }
    SetupWordIterator words(sectionText_.c_str());
    while (words.Next()) {
        if (words.Compare(itemName) == 0) {
            return ParseItem(words, itemName);
        }
    }
    return nullptr;
}

const char* DemlaSetup::ParseItem(const SetupWordIterator& iterator, std::string_view itemName) {
    itemName_ = std::string(itemName);
    UnloadItem();
    // An iterator over another text (or one that has not reported a word)
    // names no item of this section.
    if (!sectionLoaded_ || iterator.GetBody() != sectionText_.c_str() ||
        iterator.GetWordLength() == 0 ||
        iterator.GetWordOffset() + iterator.GetWordLength() > sectionText_.size()) {
        Raise(15);
    }
    scanPosition_ = iterator.GetWordOffset() + iterator.GetWordLength();
    SetupTokenType type = NextToken(token_);
    if (type == ttSpace) {
        type = NextToken(token_);
    }
    if (type != ttEqual) {
        Raise(11);
    }
    valueStart_ = scanPosition_;
    InspectContainerType();
    return sectionText_.c_str() + valueStart_;
}

void DemlaSetup::InspectContainerType() {
    if (valueStart_ == kNone) {
        Raise(15);
    }
    try {
        Classify();
    } catch (...) {
        UnloadItem();
        throw;
    }
}

void DemlaSetup::Classify() {
    std::uint32_t rows = 0;
    std::uint32_t columns = 0;
    std::uint32_t savedRow = 0;
    unsigned type = ctScalar;
    scanPosition_ = valueStart_;
    SetupTokenType token = NextToken(token_);
    if (token == ttSpace) {
        token = NextToken(token_);
    }
    std::size_t valueEnd = kNone;
    if (token == ttOpenBrace) {
        type = ctVector;
        // Inside the braces white space separates elements and "," ends a
        // row; the white space right after "{" or "," separates nothing.
        SetupTokenType previous = ttOpenBrace;
        for (;;) {
            token = NextToken(token_);
            if (token == ttEnd) {
                // The section ends inside the braces: a file cut off there.
                const std::size_t line =
                    sectionLine_ +
                    static_cast<std::size_t>(std::count(
                        sectionText_.begin(),
                        sectionText_.begin() + static_cast<std::ptrdiff_t>(valueStart_), '\n'));
                throw DemlaSetupException(sectionName_, itemName_, kSetupBraceNotClosed, line);
            }
            if (token == ttSpace && (previous == ttOpenBrace || previous == ttComma)) {
                continue;
            }
            if (token == ttSpace) {
                ++columns;
            } else if (token == ttComma || (token == ttCloseBrace && previous != ttComma)) {
                ++rows;
                if (previous != ttSpace) {
                    ++columns;
                }
                if (rows > 1 && columns != savedRow) {
                    Raise(12);
                }
                if (token == ttComma) {
                    savedRow = columns;
                    columns = 0;
                }
            }
            if (token == ttCloseBrace) {
                break;
            }
            previous = token;
        }
        // After a closing "," the row length is the saved one.
        if (columns == 0) {
            columns = savedRow;
        }
        if (rows > 1 && columns > 1) {
            type = ctMatrix;
        }
    } else if (token == ttSemicolon) {
        type = ctEmpty;
        valueEnd = scanPosition_ - 1;
    } else if (token == ttComment || token == ttEnd) {
        // A comment consumed the ";" that ends this item.
        valueEnd = scanPosition_;
    }
    if (valueEnd == kNone) {
        valueEnd = FindValueEnd(scanPosition_);
    }
    containerType_ = type;
    rows_ = rows == 0 ? 1 : rows;
    columns_ = columns == 0 ? 1 : columns;
    valueEnd_ = valueEnd;
    elementCursor_ = valueStart_;
}

std::size_t DemlaSetup::FindValueEnd(std::size_t from) const {
    std::size_t position = from;
    for (;;) {
        const TokenSpan span = ScanToken(sectionText_, position, sectionText_.size());
        switch (span.type) {
        case ttEnd:
            return span.next;
        case ttSemicolon:
            return span.textBegin;
        case ttComment:
            return span.next;
        default:
            position = span.next;
        }
    }
}

SetupTokenType DemlaSetup::ReadToken(std::size_t& position, std::size_t limit, std::string& token,
                                     std::size_t max) const {
    const TokenSpan span = ScanToken(sectionText_, position, limit);
    const std::size_t length = span.textEnd - span.textBegin;
    if (max == 0 || length > max - 1) {
        Raise(1);
    }
    token.assign(sectionText_, span.textBegin, length);
    position = span.next;
    return span.type;
}

SetupTokenType DemlaSetup::NextToken(std::string& token, std::size_t max) {
    return ReadToken(scanPosition_, sectionText_.size(), token, max);
}

void DemlaSetup::SetScanPosition(std::size_t offset) {
    scanPosition_ = offset < sectionText_.size() ? offset : sectionText_.size();
}

bool DemlaSetup::ItemIterator(std::string* buffer, std::size_t max) {
    if (buffer == nullptr) {
        elementCursor_ = valueStart_;
        return false;
    }
    if (elementCursor_ == kNone) {
        Raise(13);
    }
    for (;;) {
        const SetupTokenType type = ReadToken(elementCursor_, valueEnd_, *buffer, max);
        lastTokenType_ = type;
        if (IsElement(type)) {
            return true;
        }
        if (type == ttEnd) {
            return false;
        }
    }
}

bool DemlaSetup::GetElement(std::uint32_t row, std::uint32_t column) {
    std::uint64_t steps = 0;
    switch (containerType_) {
    case ctScalar:
        if (row != 0 || column != 0) {
            Raise(14);
        }
        steps = 1;
        break;
    case ctVector: {
        if (row != 0 && column != 0) {
            Raise(17);
        }
        const std::uint32_t index = row != 0 ? row : column;
        if (index >= GetSize()) {
            Raise(17);
        }
        steps = std::uint64_t{index} + 1;
        break;
    }
    case ctMatrix:
        if (row >= rows_ || column >= columns_) {
            Raise(17);
        }
        steps = std::uint64_t{row} * columns_ + column + 1;
        break;
    default:
        // An empty value, or no item loaded.
        token_.clear();
        return false;
    }
    ItemIterator(nullptr);
    for (; steps > 0; --steps) {
        // The item may hold fewer elements than its braces promise ("{ }",
        // or a scalar with no value token): what is missing reads as empty.
        if (!ItemIterator(&token_)) {
            token_.clear();
            return false;
        }
    }
    return true;
}

double DemlaSetup::GetDouble(std::uint32_t row, std::uint32_t column) {
    if (!GetElement(row, column)) {
        return 0;
    }
    if (lastTokenType_ != ttNumber) {
        Raise(19);
    }
    return ParseDouble(token_.data(), token_.data() + token_.size());
}

const char* DemlaSetup::GetString(std::uint32_t row, std::uint32_t column) {
    if (!GetElement(row, column)) {
        return nullptr;
    }
    if (lastTokenType_ != ttString) {
        Raise(20);
    }
    Unescape(token_);
    return token_.c_str();
}

const char* DemlaSetup::GetLiteral(std::uint32_t row, std::uint32_t column) {
    if (!GetElement(row, column)) {
        return nullptr;
    }
    if (lastTokenType_ != ttLiteral && lastTokenType_ != ttNumber) {
        Raise(16);
    }
    return token_.c_str();
}

bool DemlaSetup::GetBool(std::uint32_t row, std::uint32_t column) {
    const char* text = GetLiteral(row, column);
    if (text == nullptr) {
        return false;
    }
    // "YES" in any case begins with "Y" or "y", so the first byte decides.
    return text[0] == 'Y' || text[0] == 'y' || text[0] == '1';
}

void DemlaSetup::CheckElementType(SetupTokenType expected) const {
    if (lastTokenType_ == expected) {
        return;
    }
    switch (expected) {
    case ttLiteral:
        Raise(21);
    case ttNumber:
        Raise(19);
    case ttString:
        Raise(20);
    default:
        break;
    }
}

const char* DemlaSetup::GetValueText() {
    if (valueStart_ == kNone) {
        return nullptr;
    }
    bool inString = false;
    for (std::size_t i = valueStart_; i < sectionText_.size(); ++i) {
        const char c = sectionText_[i];
        // valueStart_ lies behind the "=", so i - 1 is inside the text.
        if (c == '"' && sectionText_[i - 1] != '\\') {
            inString = !inString;
        } else if (c == ';' && !inString) {
            const std::size_t length = i - valueStart_;
            token_.assign(sectionText_, valueStart_,
                          length < kTokenBufferSize ? length : kTokenBufferSize - 1);
            return token_.c_str();
        }
    }
    return nullptr;
}

const char* DemlaSetup::GetQuotedValue(bool* quoted) {
    if (quoted != nullptr) {
        *quoted = false;
    }
    if (valueStart_ == kNone) {
        return nullptr;
    }
    token_.clear();
    int quotes = 0;
    for (std::size_t i = valueStart_;
         i < sectionText_.size() && token_.size() < kTokenBufferSize - 1; ++i) {
        const char c = sectionText_[i];
        if (c == ';') {
            break;
        }
        if (c == '"') {
            if (++quotes == 2) {
                break;
            }
            token_.clear();
            continue;
        }
        token_ += c;
    }
    if (quoted != nullptr) {
        *quoted = quotes > 0;
    }
    if (quotes == 1) {
        Raise(22);
    }
    if (quotes == 0) {
        TrimSpaces(token_);
    }
    return token_.c_str();
}
