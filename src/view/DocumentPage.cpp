#include "view/DocumentPage.h"

#include "document/ChartDocument.h"

MapPageContent PageContentOf(ChartDocument& document) {
    return MapPageContent{
        document.LevelMatrix,
        document.DataMatrix,
        document.ScaleValues,
        document.LevelColors,
        document.MapType,
        {document.ContourLines, document.ContourLinesWidth, document.ContourLinesColor},
        document.Frame,
        document.Legend,
        document.Texts,
        document.Lines,
        document.Rectangles,
        document.GetSources().textEncoding,
        document.CohortLines ? &*document.CohortLines : nullptr};
}

PageSize DefaultPageOf(const ChartDocument& document) {
    return PageSize::A4(document.PageOrientation != kPortrait);
}
