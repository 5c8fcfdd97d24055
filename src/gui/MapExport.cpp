#include "gui/MapExport.h"

#include "gui/CommandRouter.h"
#include "gui/MapView.h"
#include "gui/Shell.h"
#include "platform/PngWriter.h"
#include "platform/QtText.h"
#include "platform/RenderToFile.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>

#include <memory>
#include <vector>

namespace {

struct ExportKind {
    int command;
    const char* extension;
    const char* filter;
};
constexpr ExportKind kExportKinds[] = {
    {Cmd::ExportBitmap, "bmp", "Windows Bitmap(*.bmp)"},
    {Cmd::ExportMetafile, "emf", "Enhanced metafile(*.emf)"},
    {Cmd::ExportPng, "png", "PNG image (*.png)"},
    {Cmd::ExportSvg, "svg", "SVG drawing (*.svg)"},
    {Cmd::ExportPdf, "pdf", "PDF document (*.pdf)"},
};

// Both encodings of a metafile copy, with an SVG one for programs that take
// no metafile.
void SetMetafileData(QMimeData& data, const std::string& emf, const std::string& svg) {
    const QByteArray emfBytes = QByteArray::fromStdString(emf);
    data.setData(QStringLiteral("image/x-emf"), emfBytes);
    data.setData(QStringLiteral("image/emf"), emfBytes);
    data.setData(QStringLiteral("image/svg+xml"), QByteArray::fromStdString(svg));
}

// The map is painted once; the PNG copy is encoded from the same picture.
void SetImageData(QMimeData& data, const std::string& bmp) {
    const QByteArray bmpBytes = QByteArray::fromStdString(bmp);
    QImage image;
    image.loadFromData(bmpBytes, "BMP");
    QByteArray pngBytes;
    QBuffer png(&pngBytes);
    png.open(QIODevice::WriteOnly);
    WritePng(image, png);
    data.setImageData(image);
    data.setData(QStringLiteral("image/png"), pngBytes);
    data.setData(QStringLiteral("image/bmp"), bmpBytes);
}

} // namespace

std::optional<std::string> MapExport::Picture(std::string_view kind, bool composite) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::vector<MapView*> views{&view_};
    if (composite) {
        views.clear();
        for (DocumentView* view : view_.Host().ShownMapViews()) {
            if (auto* map = dynamic_cast<MapView*>(view)) {
                views.push_back(map);
            }
        }
    }
    std::string cause;
    std::optional<std::string> bytes;
    try {
        // Later windows are drawn over earlier ones, each with its own page
        // window, on this window's size.
        bytes = MakePicture(
            kind, view_.width(), view_.height(),
            [&](Surface& surface) {
                for (MapView* view : views) {
                    view->PaintForExport(surface);
                }
            },
            &cause);
    } catch (const std::exception& e) {
        cause = e.what();
    }
    QApplication::restoreOverrideCursor();
    if (!bytes) {
        view_.Entry().Prompt().Show(kApplicationName, "Unable write file\r\n" + cause,
                                    PromptIcon::Exclamation);
    }
    return bytes;
}

bool MapExport::ExportTo(const QString& path) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ExportResult result =
        ExportPicture(PathFromQt(path), view_.width(), view_.height(),
                      [this](Surface& surface) { view_.PaintForExport(surface); });
    QApplication::restoreOverrideCursor();
    if (!result) {
        view_.Entry().Prompt().Show(kApplicationName, "Unable write file\r\n" + result.message,
                                    PromptIcon::Exclamation);
    }
    return result.written;
}

bool MapExport::CopyToClipboard(bool metafile, bool composite) {
    auto data = std::make_unique<QMimeData>();
    if (metafile) {
        const std::optional<std::string> emf = Picture("emf", composite);
        const std::optional<std::string> svg = emf ? Picture("svg", composite) : std::nullopt;
        if (!emf || !svg) {
            return false;
        }
        SetMetafileData(*data, *emf, *svg);
    } else {
        const std::optional<std::string> bmp = Picture("bmp", composite);
        if (!bmp) {
            return false;
        }
        SetImageData(*data, *bmp);
    }
    QGuiApplication::clipboard()->setMimeData(data.release());
    return true;
}

void MapExport::AskAndExport(int command) {
    const ExportKind* kind = &kExportKinds[0];
    for (const ExportKind& k : kExportKinds) {
        if (k.command == command) {
            kind = &k;
        }
    }
    // The document's name with the picture's extension.
    QFileInfo info(view_.Entry().Path());
    const QString proposed =
        info.dir().filePath(info.completeBaseName().isEmpty() ? info.fileName()
                                                              : info.completeBaseName()) +
        QLatin1Char('.') + QLatin1String(kind->extension);
    QFileDialog dialog(&view_, QObject::tr("Export"), proposed);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QString::fromLatin1(kind->filter));
    dialog.setDefaultSuffix(QString::fromLatin1(kind->extension));
    dialog.selectFile(proposed);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        ExportTo(dialog.selectedFiles().front());
    }
}

void MapExport::AddCommands(CommandHandlers& commands) {
    const auto loaded = [this] { return !view_.Entry().IsBusy() && view_.Entry().IsLoaded(); };
    for (const ExportKind& kind : kExportKinds) {
        const int command = kind.command;
        commands.Add(
            command, [this, command] { AskAndExport(command); }, loaded);
    }
    // The keys without a menu item copy every shown map at once.
    const struct {
        int command;
        bool metafile;
        bool composite;
    } copies[] = {{Cmd::CopyBitmap, false, false},
                  {Cmd::CopyMetafile, true, false},
                  {Cmd::CopyBitmapKey, false, true},
                  {Cmd::CopyMetafileKey, true, true}};
    for (const auto& copy : copies) {
        const bool metafile = copy.metafile;
        const bool composite = copy.composite;
        commands.Add(
            copy.command, [this, metafile, composite] { CopyToClipboard(metafile, composite); },
            loaded);
    }
}
