#include "dialogs/TextLineEditor.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

TextLineEditor::TextLineEditor(const QString& fontCaption, QWidget* parent) : QWidget(parent) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    edit = new QLineEdit(this);
    font = new QPushButton(fontCaption, this);
    color = new ColorButton(tr("Colo&r"), 0, this);
    edit->setMaximumWidth(edit->fontMetrics().averageCharWidth() * 80);
    row->addWidget(edit, 1);
    row->addWidget(font);
    row->addWidget(color);
    connect(font, &QPushButton::clicked, this, [this] {
        if (std::optional<FontRecord> chosen = ChooseFontRecord(this, shown, tr("Font"))) {
            chosenFont = chosen;
            shown = *chosen;
        }
    });
    connect(color, &ColorButton::ColorChosen, this, [this] { colorChosen = true; });
}

void TextLineEditor::ShowText(const QString& text) {
    edit->setText(text);
    // A long title is seen whole where a small screen leaves room for it,
    // and read from its start where it does not.
    const int em = edit->fontMetrics().horizontalAdvance(QLatin1Char('M'));
    const int wanted = edit->fontMetrics().horizontalAdvance(text) + 2 * em;
    edit->setMinimumWidth(std::clamp(wanted, 16 * em, 40 * em));
    edit->setCursorPosition(0);
    edit->setToolTip(text);
}

// Shows line i of a frame text in an editor.
void ShowLine(MList<WText>& lines, std::uint32_t i, TextLineEditor* editor,
              const SetupTextCodec& codec) {
    const bool has = i < lines.GetCount();
    editor->ShowText(has ? codec.Show(lines[i].text) : QString());
    editor->shown = has && lines[i].font ? *lines[i].font : FontRecord::DefaultTextFont();
    editor->color->SetColor(has ? lines[i].textColor : 0);
    editor->chosenFont.reset();
    editor->colorChosen = false;
}

// A font or colour chosen in the editor goes to the line.
void StoreLineLook(WText& line, TextLineEditor* editor) {
    if (editor->chosenFont) {
        line.font = *editor->chosenFont;
        line.textColor = editor->color->Color();
    } else if (editor->colorChosen) {
        line.textColor = editor->color->Color();
    }
}

// Line 0 of a text: an empty text removes the only line or empties line 0
// of several; a text replaces line 0 or makes it.
void StoreFirstLine(MList<WText>& lines, const std::string& text, TextLineEditor* editor) {
    if (text.empty()) {
        if (lines.GetCount() == 1) {
            lines.Flush();
        } else if (lines.GetCount() > 1) {
            lines[0].text.clear();
            StoreLineLook(lines[0], editor);
        }
        return;
    }
    if (lines.IsEmpty()) {
        lines.addAtTail(WText());
    }
    lines[0].text = text;
    StoreLineLook(lines[0], editor);
}
