#pragma once

#include "scale/LRGBColorVect.h"

#include <cstdint>

class ChartDocument;
class QColor;
class QWidget;

// The colour dialogs of a map view.

QColor ColorOf(LRGBColor color);
LRGBColor ColorFrom(const QColor& color);

// Edits the colours of up to 16 consecutive levels from k on, through the
// colour dialog's custom colours; a colour picked without touching the
// custom colours becomes level k's. True when a colour changed. A level
// outside the scale is refused with a message.
bool EditLevelColors(QWidget* owner, ChartDocument& document, std::uint32_t k);

// Edits the colour of missing values; true when it changed.
bool EditMissingColor(QWidget* owner, ChartDocument& document);

// Shows a colour's number as a setup file writes it, to be copied.
void ShowColorValue(QWidget* owner);
