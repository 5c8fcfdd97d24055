#pragma once

#include "dialogs/DialogSupport.h"

#include <QString>

#include <cstdint>

class QFormLayout;
class QLabel;
class QWidget;

// A frame on the page as its sheets edit it: the line and tick settings
// of its sides, then its rectangle. The plot frame's and the legend's
// sheets fill the same form, each with its own captions.
struct FrameRectValues {
    std::int32_t lineWidth = 0;
    std::int32_t spacing = 0; // from the ticks to their labels
    std::int32_t tickLength = 0;
    std::int32_t tickWidth = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

class FrameRectForm {
public:
    struct Captions {
        QString lineWidth;
        QString spacing;
        QString tickLength;
        QString tickWidth;
        QString x;
        QString y;
        QString width;
        QString height;
    };

    // Makes the fields, in the order the keyboard visits them.
    explicit FrameRectForm(QWidget* owner);

    // The rows of the sides, then (where the caller wants them, so that a
    // sheet may put rows of its own between) those of the rectangle; the
    // latter answers the label of x.
    void AddSideRows(QFormLayout* form, const Captions& captions);
    QLabel* AddRectangleRows(QFormLayout* form, const Captions& captions);

    void ShowValues(const FrameRectValues& values);
    // The values with the edited fields' numbers put in; false after a
    // message about a field that holds no whole number.
    bool StoreValues(FrameRectValues& values);
    // Tells of a rectangle without area and puts the caret in its field;
    // true when the rectangle has one.
    bool CheckArea(QWidget* owner, const FrameRectValues& values);
    void MarkStored();

    NumberField* lineWidth;
    NumberField* spacing;
    NumberField* tickLength;
    NumberField* tickWidth;
    NumberField* x;
    NumberField* y;
    NumberField* width;
    NumberField* height;
};
