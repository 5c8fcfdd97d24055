#pragma once

#include "core/DMAT.h"
#include "dialogs/DialogSupport.h"
#include "dialogs/FrameRectForm.h"
#include "scale/LRGBColorVect.h"
#include "scale/LevelFlags.h"
#include "scale/MScale.h"
#include "scale/ScaleManipulator.h"
#include "scale/ScaleRules.h"

#include <QDialog>
#include <QWidget>

#include <functional>
#include <optional>
#include <string>

class ChartDocument;
class QCheckBox;
class QLabel;
class QListWidget;
class QRadioButton;
class QTabWidget;

// "Scale Levels": the boundaries of the scale with their legend flags and
// level colours, edited on copies that Apply writes back.
class ScaleLevelsPage : public QWidget {
    Q_OBJECT
public:
    ScaleLevelsPage(ChartDocument& document, QWidget* parent);
    void Fill();
    bool Apply();
    // The boundaries selected in the list, ascending.
    std::vector<std::uint32_t> Selected() const;
    void Select(const std::vector<std::uint32_t>& rows);
    void AddLevels();
    void DeleteLevels();

    QListWidget* list;
    QLabel* caption;
    NumberField* value;
    QLineEdit* format;
    QCheckBox* showTick;
    QCheckBox* showLabel;
    QCheckBox* showLine;
    ColorButton* color;
    DMAT scale;
    LRGBColorVect colors;
    LevelFlags flags;

private:
    void SelectionChanged();
    bool StoreValue();
    // Runs an edit of the levels on every selected boundary.
    void EditSelected(bool (ScaleManipulator::*edit)(std::uint32_t));
    void FlagToggled(std::uint32_t bit, bool shown);
    void Rebuild(int selected);
    ChartDocument& document_;
    int valueRow_ = -1;
};

// "Frame": where the legend stands and how it is drawn.
class ScaleFramePage : public QWidget, public FrameRectForm {
    Q_OBJECT
public:
    ScaleFramePage(ChartDocument& document, QWidget* parent);
    void Fill();
    bool Apply();

    // The form's fields, not QWidget's geometry.
    using FrameRectForm::height;
    using FrameRectForm::width;
    using FrameRectForm::x;
    using FrameRectForm::y;
    QLabel* xCaption;
    QCheckBox* link;
    QCheckBox* visible;
    QPushButton* font;

private:
    void Linked();
    ChartDocument& document_;
    std::optional<FontRecord> chosenFont_;
};

// "Sequence": a new scale of evenly added or multiplied boundaries.
class SequencePage : public QWidget {
    Q_OBJECT
public:
    SequencePage(ChartDocument& document, QWidget* parent);
    // Checks the values; false after the first message.
    bool Check();
    bool Apply();
    bool IsTouched() const { return touched_; }
    // What the fields of the chosen kind ask for.
    SequenceRequest Request() const;

    QRadioButton* additive;
    QRadioButton* multiplicative;
    NumberField* addStart;
    NumberField* increment;
    NumberField* addLevels;
    NumberField* mulStart;
    NumberField* multiplier;
    NumberField* mulLevels;

private:
    ChartDocument& document_;
    bool touched_ = false;
};

// "Scale": the scale sheet, its levels, the legend's frame and the
// sequence generator. Apply and OK write every page into the document and
// reclassify the map; Cancel puts back what Apply changed.
class ScaleSheet : public QDialog {
    Q_OBJECT
public:
    ScaleSheet(ChartDocument& document, std::function<void()> repaint, QWidget* parent);
    bool Apply();
    void accept() override;
    void reject() override;

    QTabWidget* Tabs() const { return tabs_; }
    ScaleLevelsPage* Levels() const { return levels_; }
    ScaleFramePage* Frame() const { return frame_; }
    SequencePage* Sequence() const { return sequence_; }

private:
    ChartDocument& document_;
    std::function<void()> repaint_;
    DMAT savedScale_;
    LRGBColorVect savedColors_;
    MScale savedLegend_;
    QTabWidget* tabs_;
    ScaleLevelsPage* levels_;
    ScaleFramePage* frame_;
    SequencePage* sequence_;
};
