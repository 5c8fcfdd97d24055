#include "dialogs/ColorEditors.h"

#include "core/Prompt.h"
#include "document/ChartDocument.h"
#include "platform/FontMapping.h"

#include <QColorDialog>
#include <QInputDialog>

#include <algorithm>
#include <array>

namespace {

constexpr int kCustomColors = 16;

// Opens the colour dialog on initial with the given custom colours (white
// where none is given); the chosen colour, or nothing on Cancel.
std::optional<QColor> ChooseColor(QWidget* owner, const QColor& initial,
                                  const std::vector<QColor>& customs, const QString& title) {
    for (int i = 0; i < kCustomColors; ++i) {
        QColorDialog::setCustomColor(i, i < static_cast<int>(customs.size()) ? customs[i]
                                                                             : QColor(Qt::white));
    }
    QColorDialog dialog(initial, owner);
    dialog.setWindowTitle(title);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.selectedColor();
}

} // namespace

QColor ColorOf(LRGBColor color) {
    return ToQColor(color);
}

LRGBColor ColorFrom(const QColor& color) {
    return MakeRGB(static_cast<std::uint32_t>(color.red()),
                   static_cast<std::uint32_t>(color.green()),
                   static_cast<std::uint32_t>(color.blue()));
}

bool EditLevelColors(QWidget* owner, ChartDocument& document, std::uint32_t k) {
    const std::uint32_t count = document.BoundaryCount();
    if (k > count) {
        document.GetPrompt().Show(kApplicationName,
                                  "Scale Level must be inside the range: 0-" +
                                      std::to_string(static_cast<long long>(count) - 1));
        return false;
    }
    LRGBColorVect& colors = document.LevelColors;
    const std::uint32_t n = std::min<std::uint32_t>(count - k + 1, kCustomColors);
    std::vector<QColor> customs;
    for (std::uint32_t i = 0; i < n; ++i) {
        customs.push_back(ColorOf(colors.Level(k + i)));
    }
    const std::optional<QColor> chosen =
        ChooseColor(owner, customs.front(), customs, QObject::tr("Level Colors"));
    if (!chosen) {
        return false;
    }
    bool customsChanged = false;
    bool changed = false;
    for (std::uint32_t i = 0; i < n; ++i) {
        const LRGBColor custom = ColorFrom(QColorDialog::customColor(static_cast<int>(i)));
        customsChanged = customsChanged || ColorOf(custom) != customs[i];
        if (colors.Level(k + i) != custom) {
            colors.Level(k + i) = custom;
            changed = true;
        }
    }
    // Picking a colour is what a person does first: without edited custom
    // colours, the picked one is level k's.
    if (!customsChanged && ColorFrom(*chosen) != colors.Level(k)) {
        colors.Level(k) = ColorFrom(*chosen);
        changed = true;
    }
    return changed;
}

bool EditMissingColor(QWidget* owner, ChartDocument& document) {
    const LRGBColor old = document.MissingColor;
    const std::optional<QColor> chosen =
        ChooseColor(owner, ColorOf(old), {ColorOf(old)}, QObject::tr("Missing Color"));
    if (!chosen || ColorFrom(*chosen) == old) {
        return false;
    }
    document.SetMissingColor(ColorFrom(*chosen));
    return true;
}

void ShowColorValue(QWidget* owner) {
    const std::optional<QColor> chosen =
        ChooseColor(owner, QColor(Qt::white), {}, QObject::tr("Color Value"));
    if (!chosen) {
        return;
    }
    QInputDialog dialog(owner);
    dialog.setWindowTitle(QObject::tr("Color value"));
    dialog.setLabelText(QObject::tr("&Number of the color in a setup file:"));
    dialog.setTextValue(QString::number(ColorFrom(*chosen)));
    dialog.exec();
}
