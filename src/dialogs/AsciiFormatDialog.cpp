#include "dialogs/AsciiFormatDialog.h"
#include "dialogs/DialogSupport.h"

#include "platform/QtText.h"
#include "view/AsciiPreview.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// Enough of the file for five lines of 256 characters.
constexpr qint64 kPreviewBytes = 5 * 256 * 2;

QLineEdit* CharEdit(QWidget* parent, const QString& name) {
    auto* edit = new QLineEdit(parent);
    edit->setMaxLength(1);
    edit->setMaximumWidth(48);
    edit->setAccessibleName(name);
    return edit;
}

} // namespace

AsciiFormatDialog::AsciiFormatDialog(const AsciiFormat& format, const std::string& dataPath,
                                     QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(tr("Select ASCII File Format"));
    QGroupBox* fields = MakeFieldBox();
    QGroupBox* records = MakeRecordBox();

    auto* fieldGroup = new QButtonGroup(this);
    for (QRadioButton* radio : {comma, spaces, customField}) {
        fieldGroup->addButton(radio);
    }
    auto* recordGroup = new QButtonGroup(this);
    recordGroup->addButton(crlf);
    recordGroup->addButton(customRecord);

    preview = new QPlainTextEdit(this);
    preview->setReadOnly(true);
    preview->setLineWrapMode(QPlainTextEdit::NoWrap);
    preview->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // A long path is shortened in its middle, so that the dialog fits a
    // small screen; the whole path is the label's tip.
    const QString path = PathToQt(dataPath);
    auto* previewLabel =
        new QLabel(tr("&First lines of %1:")
                       .arg(fontMetrics().elidedText(path, Qt::ElideMiddle,
                                                     fontMetrics().averageCharWidth() * 70)),
                   this);
    previewLabel->setToolTip(path);
    previewLabel->setBuddy(preview);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* groups = new QHBoxLayout;
    groups->addWidget(fields);
    groups->addWidget(records);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addWidget(previewLabel);
    layout->addWidget(preview, 1);
    layout->addWidget(buttons);
    FitDialog(this);
    // Room for the preview's lines where the screen has it.
    resize(size().expandedTo(QSize(640, 420)).boundedTo(screen()->availableGeometry().size()));
    ShowFormat(format);
    ShowFirstLines(dataPath);
}

QGroupBox* AsciiFormatDialog::MakeFieldBox() {
    auto* fields = new QGroupBox(tr("Field delimiter"), this);
    comma = new QRadioButton(tr("C&omma"), fields);
    spaces = new QRadioButton(tr("&Spaces"), fields);
    customField = new QRadioButton(tr("C&ustom"), fields);
    fieldChar = CharEdit(fields, tr("Custom field delimiter"));
    auto* fieldLayout = new QGridLayout(fields);
    fieldLayout->addWidget(comma, 0, 0);
    fieldLayout->addWidget(spaces, 1, 0);
    fieldLayout->addWidget(customField, 2, 0);
    fieldLayout->addWidget(fieldChar, 2, 1);
    return fields;
}

QGroupBox* AsciiFormatDialog::MakeRecordBox() {
    auto* records = new QGroupBox(tr("Record delimiter"), this);
    crlf = new QRadioButton(tr("[CR][LF] &MS-DOS Text"), records);
    customRecord = new QRadioButton(tr("Cus&tom"), records);
    recordChar = CharEdit(records, tr("Custom record delimiter"));
    auto* recordLayout = new QGridLayout(records);
    recordLayout->addWidget(crlf, 0, 0);
    recordLayout->addWidget(customRecord, 1, 0);
    recordLayout->addWidget(recordChar, 1, 1);
    return records;
}

void AsciiFormatDialog::ShowFormat(const AsciiFormat& format) {
    // A custom choice fills and enables its character.
    switch (format.fieldKind) {
    case AsciiFormat::Field::Comma:
        comma->setChecked(true);
        break;
    case AsciiFormat::Field::Spaces:
        spaces->setChecked(true);
        break;
    case AsciiFormat::Field::Custom:
        customField->setChecked(true);
        break;
    }
    (format.recordKind == AsciiFormat::Record::Crlf ? crlf : customRecord)->setChecked(true);
    fieldChar->setText(QString(QChar::fromLatin1(format.customField)));
    recordChar->setText(QString(QChar::fromLatin1(format.customRecord)));
    const auto enable = [this] {
        fieldChar->setEnabled(customField->isChecked());
        recordChar->setEnabled(customRecord->isChecked());
    };
    enable();
    for (QRadioButton* radio : {comma, spaces, customField, crlf, customRecord}) {
        connect(radio, &QRadioButton::toggled, this, enable);
    }
}

void AsciiFormatDialog::ShowFirstLines(const std::string& dataPath) {
    QFile file(PathToQt(dataPath));
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray head = file.read(kPreviewBytes);
        QStringList lines;
        for (const std::string& line : AsciiPreviewLines(head.toStdString())) {
            lines << TextFromBytes(line);
        }
        preview->setPlainText(lines.join(QLatin1Char('\n')));
    }
}

AsciiFormat AsciiFormatDialog::Format() const {
    AsciiFormat format;
    format.fieldKind = comma->isChecked()    ? AsciiFormat::Field::Comma
                       : spaces->isChecked() ? AsciiFormat::Field::Spaces
                                             : AsciiFormat::Field::Custom;
    format.recordKind = crlf->isChecked() ? AsciiFormat::Record::Crlf : AsciiFormat::Record::Custom;
    // An empty character is a zero byte, as it has always been.
    const QByteArray field = fieldChar->text().toLatin1();
    const QByteArray record = recordChar->text().toLatin1();
    format.customField = field.isEmpty() ? '\0' : field.front();
    format.customRecord = record.isEmpty() ? '\0' : record.front();
    return format;
}
