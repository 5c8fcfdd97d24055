#include "platform/QtPrompt.h"

#include "platform/QtText.h"

#include <QApplication>
#include <QMessageBox>

namespace {

QMessageBox::Icon IconOf(PromptIcon icon) {
    switch (icon) {
    case PromptIcon::None:
        return QMessageBox::NoIcon;
    case PromptIcon::Information:
        return QMessageBox::Information;
    case PromptIcon::Warning:
    case PromptIcon::Exclamation:
        return QMessageBox::Warning;
    case PromptIcon::Error:
        return QMessageBox::Critical;
    case PromptIcon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton ButtonOf(PromptAnswer answer) {
    switch (answer) {
    case PromptAnswer::Ok:
        return QMessageBox::Ok;
    case PromptAnswer::Cancel:
        return QMessageBox::Cancel;
    case PromptAnswer::Yes:
        return QMessageBox::Yes;
    case PromptAnswer::No:
        return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

} // namespace

void UseMessageFrame(QMessageBox& box) {
    box.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                       Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
}

PromptAnswer QtPrompt::Ask(const std::string& caption, const std::string& text,
                           PromptButtons buttons, PromptIcon icon) {
    // The first button is the default: OK, or Yes.
    return AskWithDefault(caption, text, buttons, icon,
                          buttons == PromptButtons::Ok || buttons == PromptButtons::OkCancel
                              ? PromptAnswer::Ok
                              : PromptAnswer::Yes);
}

PromptAnswer QtPrompt::AskWithDefault(const std::string& caption, const std::string& text,
                                      PromptButtons buttons, PromptIcon icon,
                                      PromptAnswer defaultAnswer) {
    QWidget* owner = owner_ ? owner_.data() : QApplication::activeWindow();
    QMessageBox box(IconOf(icon), TextFromBytes(caption), TextFromBytes(text),
                    QMessageBox::NoButton, owner);
    UseMessageFrame(box);
    switch (buttons) {
    case PromptButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case PromptButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case PromptButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case PromptButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    const QMessageBox::StandardButton defaultButton = ButtonOf(defaultAnswer);
    if (box.button(defaultButton) != nullptr) {
        box.setDefaultButton(defaultButton);
    }
    switch (box.exec()) {
    case QMessageBox::Ok:
        return PromptAnswer::Ok;
    case QMessageBox::Yes:
        return PromptAnswer::Yes;
    case QMessageBox::No:
        return PromptAnswer::No;
    default:
        // Escape or closing the box: No where there is no Cancel.
        return buttons == PromptButtons::YesNo ? PromptAnswer::No
               : buttons == PromptButtons::Ok  ? PromptAnswer::Ok
                                               : PromptAnswer::Cancel;
    }
}
