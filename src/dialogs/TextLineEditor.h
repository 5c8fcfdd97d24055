#pragma once

#include "core/MList.h"
#include "dialogs/DialogSupport.h"
#include "frame/WText.h"
#include "render/FontRecord.h"

#include <QWidget>

#include <cstdint>
#include <optional>
#include <string>

class QLineEdit;
class QPushButton;

// A line of text of the frame (title, subtitle, axis label) with its
// "&Font" button: the font and the colour chosen go to the line.
class TextLineEditor : public QWidget {
    Q_OBJECT
public:
    TextLineEditor(const QString& fontCaption, QWidget* parent);
    // Shows a text in the field, from its start.
    void ShowText(const QString& text);
    QLineEdit* edit;
    QPushButton* font;
    ColorButton* color;
    std::optional<FontRecord> chosenFont;
    bool colorChosen = false;
    FontRecord shown;
};

// Shows line i of a frame text in an editor.
void ShowLine(MList<WText>& lines, std::uint32_t i, TextLineEditor* editor,
              const SetupTextCodec& codec);
// A font or colour chosen in the editor goes to the line.
void StoreLineLook(WText& line, TextLineEditor* editor);
// Line 0 of a text: an empty text removes the only line or empties line 0
// of several; a text replaces line 0 or makes it.
void StoreFirstLine(MList<WText>& lines, const std::string& text, TextLineEditor* editor);
