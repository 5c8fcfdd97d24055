#include "gui/MainWindow.h"

#include "document/ChartDocument.h"
#include "gui/MapView.h"
#include "platform/QtSurface.h"
#include "platform/QtText.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

// Printing map views, and the arrangements of the child windows.

QPrinter& MainWindow::Printer() {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    return *printer_;
}

std::optional<DoubleSize> MainWindow::ApplyOrientation(int pageOrientation) {
    QPrinter& printer = Printer();
    printer.setPageOrientation(pageOrientation == kPortrait ? QPageLayout::Portrait
                                                            : QPageLayout::Landscape);
    const QRectF page = printer.pageLayout().fullRect(QPageLayout::Millimeter);
    if (!(page.width() > 0) || !(page.height() > 0)) {
        return std::nullopt;
    }
    return DoubleSize{page.width() * 10.0, page.height() * 10.0};
}

void MainWindow::Print() {
    if (auto* map = dynamic_cast<MapView*>(ActiveView())) {
        PrintViews({map}, QStringLiteral("Demla %1").arg(map->Entry().Title()));
    }
}

void MainWindow::PrintActiveWindows() {
    constexpr std::size_t kMostWindows = 31;
    std::vector<MapView*> maps;
    for (DocumentView* view : ShownMapViews()) {
        maps.push_back(static_cast<MapView*>(view));
    }
    if (maps.size() > kMostWindows) {
        QtPrompt(this).Show("Alert", "Number of the active windows cannot exceed 31");
        maps.resize(kMostWindows);
    }
    if (!maps.empty()) {
        PrintViews(maps, QStringLiteral("Demla"));
    }
}

void MainWindow::PrintViews(const std::vector<MapView*>& views, const QString& title) {
    QPrinter& printer = Printer();
    ApplyOrientation(views.front()->Entry().Document().PageOrientation);
    printer.setDocName(title);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(tr("Print"));
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        QtPrompt(this).Show("Error", "The printer could not start the print job.",
                            PromptIcon::Exclamation);
        return;
    }
    // Every map maps its whole page onto the sheet: several maps lie on one
    // another, as they were composed.
    std::vector<std::string> failures;
    {
        QtSurface surface(painter, DeviceTechnology::RasterPrinter);
        for (MapView* map : views) {
            if (!map->Entry().IsLoaded()) {
                continue;
            }
            if (std::optional<std::string> failure =
                    map->State().Paint(surface, map->Entry().Document(), true)) {
                failures.push_back(*failure);
            }
        }
    }
    painter.end();
    for (const std::string& failure : failures) {
        QtPrompt(this).Show(kApplicationName, failure, PromptIcon::Exclamation);
    }
    for (MapView* map : views) {
        map->Redraw();
    }
}

void MainWindow::PrintSetup() {
    QPrinter& printer = Printer();
    DocumentView* view = ActiveView();
    if (view != nullptr) {
        ApplyOrientation(view->Entry().Document().PageOrientation);
    }
    QPageSetupDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted || view == nullptr) {
        return;
    }
    DocumentEntry& entry = view->Entry();
    ChartDocument& document = entry.Document();
    const int orientation =
        printer.pageLayout().orientation() == QPageLayout::Portrait ? kPortrait : kLandscape;
    if (orientation != document.PageOrientation) {
        document.PageOrientation = orientation;
        entry.ChangedOutsideUndo();
    }
    // A new orientation or paper size: every view of the document lays its
    // page out again.
    for (DocumentView* other : entry.Views()) {
        other->PageChanged();
    }
    CommandsChanged();
}

void MainWindow::Tile(Qt::Orientation orientation) {
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : area_->subWindowList()) {
        if (!window->isMinimized()) {
            windows.append(window);
        }
    }
    if (windows.isEmpty()) {
        return;
    }
    const QRect space = area_->viewport()->rect();
    const int count = static_cast<int>(windows.size());
    for (int i = 0; i < count; ++i) {
        QMdiSubWindow* window = windows[i];
        window->showNormal();
        if (orientation == Qt::Horizontal) {
            // Strips one above the other, each as wide as the area.
            const int top = space.height() * i / count;
            const int bottom = space.height() * (i + 1) / count;
            window->setGeometry(0, top, space.width(), bottom - top);
        } else {
            const int left = space.width() * i / count;
            const int right = space.width() * (i + 1) / count;
            window->setGeometry(left, 0, right - left, space.height());
        }
    }
}

void MainWindow::Cascade() {
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : area_->subWindowList()) {
        if (!window->isMinimized()) {
            windows.append(window);
        }
    }
    // Each a title bar's step down and right of the one before, all of them
    // inside the area however large they were before.
    const QRect space = area_->viewport()->rect();
    const int step =
        windows.isEmpty() ? 0 : windows.front()->height() - windows.front()->widget()->height();
    const int count = static_cast<int>(windows.size());
    const int width = std::max(200, space.width() - step * (count - 1));
    const int height = std::max(150, space.height() - step * (count - 1));
    for (int i = 0; i < count; ++i) {
        windows[i]->showNormal();
        windows[i]->setGeometry(step * i, step * i, width, height);
        windows[i]->raise();
    }
}

void MainWindow::ArrangeIcons() {
    const QRect space = area_->viewport()->rect();
    int x = 0;
    for (QMdiSubWindow* window : area_->subWindowList()) {
        if (window->isMinimized()) {
            const QSize size = window->size();
            window->move(x, space.height() - size.height());
            x += size.width();
        }
    }
}

void MainWindow::ShowAll(Qt::WindowState state) {
    for (QMdiSubWindow* window : area_->subWindowList()) {
        switch (state) {
        case Qt::WindowMinimized:
            window->showMinimized();
            break;
        case Qt::WindowMaximized:
            window->showMaximized();
            break;
        default:
            window->showNormal();
            break;
        }
    }
}
