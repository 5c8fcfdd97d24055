#pragma once

#include <span>
#include <string>

// Gives a PDF document an outline (the bookmarks a viewer lists beside the
// pages): one entry per page, in page order, titled by the UTF-8 texts in
// titles, and asks viewers to show it when the file opens. The outline is
// appended to the file as an incremental update, so the pages stay byte
// for byte as they were. False, leaving pdf unchanged, when the document
// is not laid out as expected (no cross-reference table, a page tree that
// is not one flat list, or not one title per page).
bool AddPdfOutline(std::string& pdf, std::span<const std::string> titles);
