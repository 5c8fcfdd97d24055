#include "document/ChartDocument.h"
#include "gui/Commands.h"
#include "gui/GuiTestSupport.h"
#include "gui/MainWindow.h"
#include "gui/MapView.h"

#include <QClipboard>
#include <QImage>
#include <QMdiArea>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <fstream>

namespace {

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class Export : public ::testing::Test {
protected:
    Export() {
        window.resize(1100, 800);
        window.show();
        map = dynamic_cast<MapView*>(
            window.OpenFile(folder.File("dk-male-mortality.dml"), ViewKind::Map));
        QApplication::processEvents();
    }
    ~Export() override {
        BoxAnswers answers;
        answers.Then(QMessageBox::No).Then(QMessageBox::No);
        window.CloseAll();
    }
    ExampleFolder folder;
    MainWindow window;
    MapView* map = nullptr;
};

TEST_F(Export, BitmapIsTheWindowWithoutThePageOutline) {
    ASSERT_NE(map, nullptr);
    const std::string path = folder / "map.bmp";
    ASSERT_TRUE(map->ExportTo(QString::fromStdString(path)));
    QImage exported(QString::fromStdString(path));
    ASSERT_FALSE(exported.isNull());
    EXPECT_EQ(exported.size(), map->size());
    // The dotted outline of the sheet runs along the page's left edge in
    // the window, and is not in the export.
    const IntPoint edge = map->State().PageSystem().PageToDevice(0, 1050);
    const QImage shown = map->grab().toImage();
    int darkShown = 0;
    int darkExported = 0;
    for (int y = edge.y - 40; y < edge.y + 40; ++y) {
        darkShown += qGray(shown.pixel(edge.x, y)) < 128 ? 1 : 0;
        darkExported += qGray(exported.pixel(edge.x, y)) < 128 ? 1 : 0;
    }
    EXPECT_GT(darkShown, 10);
    EXPECT_EQ(darkExported, 0);
}

TEST_F(Export, MetafileAndTheOtherKinds) {
    ASSERT_NE(map, nullptr);
    for (const char* name : {"map.emf", "map.png", "map.svg", "map.pdf"}) {
        ASSERT_TRUE(map->ExportTo(folder.File(name))) << name;
    }
    const std::string emf = Read(folder / "map.emf");
    ASSERT_GT(emf.size(), 100u);
    EXPECT_EQ(emf.substr(40, 4), " EMF");
    EXPECT_EQ(Read(folder / "map.pdf").substr(0, 5), "%PDF-");
    EXPECT_NE(Read(folder / "map.svg").find("<svg"), std::string::npos);
    // The metafile reads back as a drawing.
    const QString converter = QStandardPaths::findExecutable(QStringLiteral("emf2svg-conv"));
    if (!converter.isEmpty()) {
        QProcess convert;
        convert.start(converter, {QStringLiteral("-i"), folder.File("map.emf"),
                                  QStringLiteral("-o"), folder.File("back.svg")});
        ASSERT_TRUE(convert.waitForFinished(30000));
        EXPECT_NE(Read(folder / "back.svg").find("<svg"), std::string::npos);
    }
    // A file that cannot be written says so.
    BoxAnswers answers;
    EXPECT_FALSE(map->ExportTo(folder.File("no/such/folder/map.png")));
    ASSERT_EQ(answers.texts.size(), 1u);
    EXPECT_EQ(answers.texts[0].rfind("Unable write file", 0), 0u);
}

TEST_F(Export, ClipboardFormatsAndCompositeCopies) {
    ASSERT_NE(map, nullptr);
    ASSERT_TRUE(map->CopyToClipboard(false, false));
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasImage());
    EXPECT_TRUE(data->hasFormat("image/png"));
    EXPECT_TRUE(data->hasFormat("image/bmp"));
    const QByteArray single = data->data("image/png");

    ASSERT_TRUE(map->CopyToClipboard(true, false));
    data = QGuiApplication::clipboard()->mimeData();
    EXPECT_EQ(data->data("image/x-emf").mid(40, 4), " EMF");
    EXPECT_EQ(data->data("image/emf"), data->data("image/x-emf"));
    EXPECT_TRUE(data->data("image/svg+xml").contains("<svg"));

    // A second window, of another map: the composite holds both.
    window.OpenFile(folder.File("dk-female-mortality.dml"), ViewKind::Map);
    window.Area()->tileSubWindows();
    QApplication::processEvents();
    ASSERT_EQ(window.ShownMapViews().size(), 2u);
    ASSERT_TRUE(map->CopyToClipboard(false, false));
    const QImage alone =
        QImage::fromData(QGuiApplication::clipboard()->mimeData()->data("image/png"));
    ASSERT_TRUE(map->CopyToClipboard(false, true));
    const QImage both =
        QImage::fromData(QGuiApplication::clipboard()->mimeData()->data("image/png"));
    EXPECT_EQ(both.size(), alone.size());
    EXPECT_NE(both, alone);
    EXPECT_FALSE(single.isEmpty());
}

TEST_F(Export, PrintingToAPdfFile) {
    ASSERT_NE(map, nullptr);
    const QString pdf = folder.File("printed.pdf");
    window.Printer().setOutputFormat(QPrinter::PdfFormat);
    window.Printer().setOutputFileName(pdf);
    QTimer::singleShot(100, [] {
        if (auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
            dialog->accept();
        }
    });
    window.Action(Cmd::Print)->trigger();
    const std::string bytes = Read(pdf.toStdString());
    EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
    EXPECT_GT(bytes.size(), 2000u);
}

} // namespace
