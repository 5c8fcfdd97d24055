#include "dialogs/ColorSchemeDialog.h"
#include "dialogs/DialogSupport.h"

#include "dialogs/ColorEditors.h"
#include "document/ChartDocument.h"
#include "scale/ColorSchemeChoice.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include <chrono>

// The colours of a scheme as stripes stacked from the top, one per level.
class SchemeSample : public QWidget {
public:
    explicit SchemeSample(const LRGBColorVect& colors, QWidget* parent)
        : QWidget(parent), colors_(colors) {
        setMinimumSize(160, 120);
        setAccessibleName(tr("Scheme colors"));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Base));
        const std::uint32_t count = colors_.LevelCount();
        if (count == 0) {
            return;
        }
        for (std::uint32_t i = 0; i < count; ++i) {
            const int top = static_cast<int>(static_cast<long long>(height()) * i / count);
            const int bottom = static_cast<int>(static_cast<long long>(height()) * (i + 1) / count);
            painter.fillRect(0, top, width(), bottom - top, ColorOf(colors_.Level(i)));
        }
    }

private:
    const LRGBColorVect& colors_;
};

ColorSchemeChoice& ColorSchemeDialog::Choice() {
    static ColorSchemeChoice choice(
        static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count()));
    return choice;
}

ColorSchemeDialog::ColorSchemeDialog(ChartDocument& document, QWidget* parent)
    : QDialog(parent), document_(document) {
    setWindowTitle(tr("Color Schemes"));
    setMinimumWidth(340);
    schemes_ = new QComboBox(this);
    for (const ColorSchemeListEntry& entry : kColorSchemeList) {
        schemes_->addItem(QString::fromLatin1(entry.name), entry.code);
    }
    auto* label = new QLabel(tr("&Scheme:"), this);
    label->setBuddy(schemes_);
    sample_ = new SchemeSample(working_, this);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* form = new QFormLayout;
    form->addRow(label, schemes_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(sample_, 1);
    layout->addWidget(buttons);

    schemes_->setCurrentIndex(std::max(0, schemes_->findData(Choice().GetLastScheme())));
    connect(schemes_, &QComboBox::currentIndexChanged, this, &ColorSchemeDialog::SchemeChosen);
    SchemeChosen();
    FitDialog(this);
}

void ColorSchemeDialog::SchemeChosen() {
    if (!ApplyColorScheme(document_.LevelColors, schemes_->currentData().toInt(), working_,
                          Choice())) {
        working_ = LRGBColorVect();
    }
    sample_->update();
}

void ColorSchemeDialog::accept() {
    // The document's own colours stay until OK, so Cancel has nothing to
    // put back.
    if (working_.GetCount() == document_.LevelColors.GetCount()) {
        document_.LevelColors = working_;
    }
    QDialog::accept();
}
