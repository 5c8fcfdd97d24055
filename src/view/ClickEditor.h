#pragma once

#include "view/MapHits.h"

// The editor a left click on a map opens for what lies under it.
enum class ClickEditor {
    None,
    // The sheet of the annotation hit (its kind and index).
    Annotation,
    // The plot frame sheet on the pages of one of its parts.
    FrameXTicks,
    FrameYTicks,
    FrameTitle,
    FrameXLabel,
    FrameYLabel,
    // The scale sheet.
    Scale,
    // The colour of the legend level hit (its index).
    LevelColor,
};

ClickEditor EditorFor(const ObjectUnderPoint& hit);
