#include "dialogs/AnnotationSheets.h"

// The sheets are not built yet: they change nothing.

AnnotationSheetResult EditTextAnnotation(ChartDocument&, std::optional<std::uint32_t>, QWidget*) {
    return AnnotationSheetResult::Unchanged;
}

AnnotationSheetResult EditRectangleAnnotation(ChartDocument&, std::optional<std::uint32_t>,
                                              QWidget*) {
    return AnnotationSheetResult::Unchanged;
}

AnnotationSheetResult EditLineAnnotation(ChartDocument&, std::optional<std::uint32_t>, QWidget*) {
    return AnnotationSheetResult::Unchanged;
}
