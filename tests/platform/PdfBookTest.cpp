#include "platform/PdfBook.h"
#include "platform/PdfOutline.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

void FillPage(Surface& surface) {
    surface.FillRect({10, 10, 100, 80}, Brush::Solid(0x0000FF));
}

std::string Book(const std::vector<std::string>& titles) {
    PdfBook book(300, 200);
    for (const std::string& title : titles) {
        EXPECT_TRUE(book.AddPage(FillPage, title, nullptr));
    }
    return book.Finish(nullptr).value_or("");
}

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

// The offset the last startxref names, and what stands there.
std::string AtLastCrossReference(const std::string& pdf) {
    const std::size_t start = pdf.rfind("startxref\n");
    const std::size_t offset = std::stoul(pdf.substr(start + 10));
    return pdf.substr(offset, 4);
}

} // namespace

TEST(PdfBook, TitledPagesMakeAnOutlineInTheirOrder) {
    // "Dødelighed" and a character beyond the first plane, as UTF-16BE.
    const std::string pdf = Book({"Men",
                                  "D\xC3\xB8"
                                  "delighed",
                                  "\xF0\x9F\x98\x80"});
    ASSERT_FALSE(pdf.empty());
    EXPECT_EQ(Count(pdf, "/Type /Page\n"), 3u);
    EXPECT_EQ(Count(pdf, "/Type /Outlines"), 1u);
    EXPECT_NE(pdf.find("/PageMode /UseOutlines"), std::string::npos);
    EXPECT_NE(pdf.find("/Title <FEFF004D0065006E>"), std::string::npos);
    EXPECT_NE(pdf.find("/Title <FEFF004400F80064"), std::string::npos);
    EXPECT_NE(pdf.find("/Title <FEFFD83DDE00>"), std::string::npos);
    EXPECT_EQ(Count(pdf, "/Dest ["), 3u);
    // The update's cross-reference table is where the trailer says, and
    // it chains to the one before it.
    EXPECT_EQ(AtLastCrossReference(pdf), "xref");
    EXPECT_EQ(Count(pdf, "/Prev "), 3u); // two items' and the trailer's
}

TEST(PdfBook, UntitledPagesAndForeignFilesGetNoOutline) {
    PdfBook book(300, 200);
    ASSERT_TRUE(book.AddPage(FillPage, nullptr));
    const std::string plain = book.Finish(nullptr).value_or("");
    ASSERT_FALSE(plain.empty());
    EXPECT_EQ(plain.find("/Outlines"), std::string::npos);

    // Not one title per page, or not a PDF at all: nothing is changed.
    std::string copy = plain;
    const std::vector<std::string> two{"a", "b"};
    EXPECT_FALSE(AddPdfOutline(copy, two));
    EXPECT_EQ(copy, plain);
    std::string junk = "%PDF-1.4\nno trailer here\n";
    EXPECT_FALSE(AddPdfOutline(junk, std::vector<std::string>{"a"}));
    EXPECT_EQ(junk, "%PDF-1.4\nno trailer here\n");

    PdfBook empty(300, 200);
    std::string cause;
    EXPECT_FALSE(empty.Finish(&cause));
    EXPECT_EQ(cause, "the PDF document has no page");
}
