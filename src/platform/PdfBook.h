#pragma once

#include "render/Surface.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// A PDF document made in memory one page at a time, each page width x
// height pixels at 96 pixels per inch, drawn as a raster printer (as PDF
// exports are). Pages given titles make the document's outline.
class PdfBook {
public:
    PdfBook(int width, int height);
    ~PdfBook();
    PdfBook(const PdfBook&) = delete;
    PdfBook& operator=(const PdfBook&) = delete;

    // Draws the next page; false, with the cause, when the writer cannot
    // start. An exception from draw propagates, and the book is then of no
    // further use.
    bool AddPage(const std::function<void(Surface&)>& draw, std::string* cause);
    // The same, with a title for the page's entry in the outline.
    bool AddPage(const std::function<void(Surface&)>& draw, const std::string& title,
                 std::string* cause);
    int PageCount() const { return static_cast<int>(titles_.size()); }

    // The bytes of the document, with an outline when every page has a
    // title; nothing, with the cause, when it cannot be finished or has no
    // page.
    std::optional<std::string> Finish(std::string* cause);

private:
    struct Writer;
    std::unique_ptr<Writer> writer_;
    std::vector<std::string> titles_;
    bool allTitled_ = true;
};
