#pragma once

#include <cstdint>
#include <optional>

class ChartDocument;
class QWidget;

// The sheets of a map's annotations: "Text", "Rectangle" and "Line". Each
// opens, modal, on the annotation at an index of its list, or on a new one
// (no index), which is added to the list on OK.
enum class AnnotationSheetResult {
    Unchanged, // Cancel, or OK without a change
    Changed,   // the annotation was added or edited
    Deleted,   // the user deleted the annotation from its sheet
};

AnnotationSheetResult EditTextAnnotation(ChartDocument& document,
                                         std::optional<std::uint32_t> index, QWidget* owner);
AnnotationSheetResult EditRectangleAnnotation(ChartDocument& document,
                                              std::optional<std::uint32_t> index, QWidget* owner);
AnnotationSheetResult EditLineAnnotation(ChartDocument& document,
                                         std::optional<std::uint32_t> index, QWidget* owner);
