#pragma once

#include "map/MapPage.h"

class ChartDocument;

// What a document puts on its map's page, for one paint.
MapPageContent PageContentOf(ChartDocument& document);

// The page of a document's sheet when no printer says otherwise: A4 in the
// document's orientation.
PageSize DefaultPageOf(const ChartDocument& document);
