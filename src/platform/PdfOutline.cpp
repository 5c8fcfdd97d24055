#include "platform/PdfOutline.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// The number after key in text (as in "/Root 2 0 R"); none when absent.
std::optional<long long> NumberAfter(std::string_view text, std::string_view key) {
    const std::size_t at = text.find(key);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    std::size_t i = at + key.size();
    while (i < text.size() && (text[i] == ' ' || text[i] == '\r' || text[i] == '\n')) {
        ++i;
    }
    long long value = 0;
    bool digits = false;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        digits = true;
        if (value > 1'000'000'000'000LL) {
            return std::nullopt;
        }
    }
    return digits ? std::optional(value) : std::nullopt;
}

// The dictionary of object number n: the text between its "<<" and the
// ">>" before its "endobj".
std::optional<std::string_view> ObjectDictionary(std::string_view pdf, long long n) {
    const std::string header = std::to_string(n) + " 0 obj";
    std::size_t at = 0;
    while ((at = pdf.find(header, at)) != std::string_view::npos) {
        if (at == 0 || pdf[at - 1] == '\n' || pdf[at - 1] == '\r') {
            break;
        }
        at += header.size();
    }
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t end = pdf.find("endobj", at);
    const std::size_t open = pdf.find("<<", at);
    if (end == std::string_view::npos || open == std::string_view::npos || open > end) {
        return std::nullopt;
    }
    const std::size_t close = pdf.rfind(">>", end);
    if (close == std::string_view::npos || close < open) {
        return std::nullopt;
    }
    return pdf.substr(open + 2, close - open - 2);
}

// The object numbers of "n 0 R" references in text, in order.
std::vector<long long> References(std::string_view text) {
    std::vector<long long> numbers;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] < '0' || text[i] > '9') {
            ++i;
            continue;
        }
        long long value = 0;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
            value = value * 10 + (text[i] - '0');
        }
        const std::string_view rest = text.substr(i);
        if (rest.rfind(" 0 R", 0) == 0) {
            numbers.push_back(value);
            i += 4;
        }
    }
    return numbers;
}

// A PDF text string of UTF-8 text: UTF-16BE with its byte order mark, in
// hexadecimal, which needs no escapes. Bytes that are not UTF-8 stand for
// themselves.
std::string PdfText(std::string_view utf8) {
    std::string hex = "<FEFF";
    const auto unit = [&hex](unsigned value) {
        char digits[5];
        std::snprintf(digits, sizeof digits, "%04X", value & 0xFFFFu);
        hex += digits;
    };
    for (std::size_t i = 0; i < utf8.size();) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        unsigned code = byte;
        std::size_t length = 1;
        if (byte >= 0xF0 && i + 3 < utf8.size() + 0 && i + 3 <= utf8.size() - 1) {
            code = ((byte & 0x07u) << 18) | ((utf8[i + 1] & 0x3Fu) << 12) |
                   ((utf8[i + 2] & 0x3Fu) << 6) | (utf8[i + 3] & 0x3Fu);
            length = 4;
        } else if (byte >= 0xE0 && i + 2 <= utf8.size() - 1) {
            code = ((byte & 0x0Fu) << 12) | ((utf8[i + 1] & 0x3Fu) << 6) | (utf8[i + 2] & 0x3Fu);
            length = 3;
        } else if (byte >= 0xC0 && i + 1 <= utf8.size() - 1) {
            code = ((byte & 0x1Fu) << 6) | (utf8[i + 1] & 0x3Fu);
            length = 2;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            unit(0xD800 + (code >> 10));
            unit(0xDC00 + (code & 0x3FF));
        } else {
            unit(code);
        }
        i += length;
    }
    return hex + ">";
}

std::string Reference(long long n) {
    return std::to_string(n) + " 0 R";
}

// A cross-reference entry: exactly twenty bytes.
std::string XrefEntry(std::size_t offset) {
    char entry[21];
    std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
    return entry;
}

// What the outline needs to know of the file it is added to.
struct PdfPlan {
    long long previousXref = 0; // where the last cross-reference section starts
    long long size = 0;         // the next free object number
    long long root = 0;
    std::optional<long long> info;
    std::string_view catalog;     // the catalog's dictionary, without its brackets
    std::vector<long long> pages; // the page objects, in order
};

// Reads the trailer, the catalog and the page tree of a PDF as a PDF writer
// leaves them; nothing when the file has another shape, already has an
// outline, or holds another number of pages than titles.
std::optional<PdfPlan> ReadPlan(std::string_view text, std::size_t titles) {
    const std::size_t start = text.rfind("startxref");
    const std::size_t trailerAt = text.rfind("trailer", start);
    if (start == std::string_view::npos || trailerAt == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view trailer = text.substr(trailerAt, start - trailerAt);
    const std::optional<long long> previous = NumberAfter(text.substr(start), "startxref");
    const std::optional<long long> size = NumberAfter(trailer, "/Size");
    const std::optional<long long> root = NumberAfter(trailer, "/Root");
    if (!previous || !size || !root) {
        return std::nullopt;
    }
    const std::optional<std::string_view> catalog = ObjectDictionary(text, *root);
    if (!catalog || catalog->find("/Outlines") != std::string_view::npos) {
        return std::nullopt;
    }
    const std::optional<long long> pagesNumber = NumberAfter(*catalog, "/Pages");
    const std::optional<std::string_view> pages =
        pagesNumber ? ObjectDictionary(text, *pagesNumber) : std::nullopt;
    if (!pages) {
        return std::nullopt;
    }
    const std::size_t kidsAt = pages->find("/Kids");
    const std::size_t kidsOpen = pages->find('[', kidsAt);
    const std::size_t kidsClose = pages->find(']', kidsOpen);
    if (kidsAt == std::string_view::npos || kidsOpen == std::string_view::npos ||
        kidsClose == std::string_view::npos) {
        return std::nullopt;
    }
    std::vector<long long> kids = References(pages->substr(kidsOpen + 1, kidsClose - kidsOpen - 1));
    const std::optional<long long> count = NumberAfter(*pages, "/Count");
    if (titles == 0 || kids.size() != titles || !count ||
        *count != static_cast<long long>(kids.size())) {
        return std::nullopt;
    }
    return PdfPlan{*previous, *size,          *root, NumberAfter(trailer, "/Info"),
                   *catalog,  std::move(kids)};
}

// The incremental update that gives the file of plan, base bytes long, an
// outline with one entry per page: the catalog again, the outline objects,
// their cross-reference section and a trailer that points back to the last.
std::string OutlineUpdate(const PdfPlan& plan, std::span<const std::string> titles,
                          std::size_t base, bool endsWithNewline) {
    std::string update = endsWithNewline ? "" : "\n";
    const long long outlines = plan.size;
    const long long n = static_cast<long long>(titles.size());
    std::vector<std::size_t> offsets;
    const auto begin = [&](long long number) {
        offsets.push_back(base + update.size());
        update += std::to_string(number) + " 0 obj\n<<\n";
    };
    const auto end = [&update] { update += ">>\nendobj\n"; };

    begin(plan.root);
    update += std::string(plan.catalog) + "\n/Outlines " + Reference(outlines) +
              "\n/PageMode /UseOutlines\n";
    end();
    begin(outlines);
    update += "/Type /Outlines\n/First " + Reference(outlines + 1) + "\n/Last " +
              Reference(outlines + n) + "\n/Count " + std::to_string(n) + "\n";
    end();
    for (long long i = 0; i < n; ++i) {
        begin(outlines + 1 + i);
        update += "/Title " + PdfText(titles[static_cast<std::size_t>(i)]) + "\n/Parent " +
                  Reference(outlines) + "\n";
        if (i > 0) {
            update += "/Prev " + Reference(outlines + i) + "\n";
        }
        if (i + 1 < n) {
            update += "/Next " + Reference(outlines + 2 + i) + "\n";
        }
        update += "/Dest [" + Reference(plan.pages[static_cast<std::size_t>(i)]) + " /Fit]\n";
        end();
    }

    const std::size_t xref = base + update.size();
    update += "xref\n" + std::to_string(plan.root) + " 1\n" + XrefEntry(offsets[0]);
    update += std::to_string(outlines) + " " + std::to_string(n + 1) + "\n";
    for (std::size_t k = 1; k < offsets.size(); ++k) {
        update += XrefEntry(offsets[k]);
    }
    update += "trailer\n<<\n/Size " + std::to_string(outlines + n + 1) + "\n/Root " +
              Reference(plan.root) + "\n";
    if (plan.info) {
        update += "/Info " + Reference(*plan.info) + "\n";
    }
    update += "/Prev " + std::to_string(plan.previousXref) + "\n>>\nstartxref\n" +
              std::to_string(xref) + "\n%%EOF\n";
    return update;
}

} // namespace

bool AddPdfOutline(std::string& pdf, std::span<const std::string> titles) {
    const std::optional<PdfPlan> plan = ReadPlan(pdf, titles.size());
    if (!plan) {
        return false;
    }
    // The plan views pdf: the update is made in full before pdf grows.
    const std::string update = OutlineUpdate(*plan, titles, pdf.size(), pdf.back() == '\n');
    pdf += update;
    return true;
}
