#include "platform/RenderToFile.h"

#include "platform/EmfSurface.h"
#include "platform/PngWriter.h"
#include "platform/QtSurface.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <string_view>

namespace {

// The resolution that SVG and PDF files give the picture's pixels.
constexpr int kVectorDotsPerInch = 96;

// Larger images are refused rather than risk running out of memory.
constexpr long long kMaxPixels = 400LL * 1000 * 1000;

bool Fail(std::string* error, const std::string& message) {
    if (error != nullptr) {
        *error = message;
    }
    return false;
}

std::string CannotWrite(const std::string& path) {
    return "Unable to write the file \"" + path + "\".";
}

bool RenderImage(const std::string& path, const QString& fileName, const char* format, int width,
                 int height, const std::function<void(Surface&)>& draw, std::string* error) {
    if (static_cast<long long>(width) * height > kMaxPixels) {
        return Fail(error, "A picture of " + std::to_string(width) + " x " +
                               std::to_string(height) + " pixels is too large for an image.");
    }
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) {
        return Fail(error, "Not enough memory for a picture of " + std::to_string(width) + " x " +
                               std::to_string(height) + " pixels.");
    }
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        QtSurface surface(painter, DeviceTechnology::RasterDisplay);
        draw(surface);
    }
    const bool saved = std::string_view(format) == "PNG" ? WritePng(image, fileName)
                                                         : image.save(fileName, format);
    if (!saved) {
        return Fail(error, CannotWrite(path));
    }
    return true;
}

bool RenderSvg(const std::string& path, const QString& fileName, int width, int height,
               const std::function<void(Surface&)>& draw, std::string* error) {
    QSvgGenerator generator;
    generator.setFileName(fileName);
    generator.setSize(QSize(width, height));
    generator.setViewBox(QRect(0, 0, width, height));
    generator.setResolution(kVectorDotsPerInch);
    QPainter painter;
    if (!painter.begin(&generator)) {
        return Fail(error, CannotWrite(path));
    }
    {
        QtSurface surface(painter, DeviceTechnology::RasterDisplay);
        draw(surface);
    }
    painter.end();
    return true;
}

bool RenderPdf(const std::string& path, const QString& fileName, int width, int height,
               const std::function<void(Surface&)>& draw, std::string* error) {
    // QPdfWriter reports nothing when it cannot create its file.
    {
        QFile probe(fileName);
        if (!probe.open(QIODevice::WriteOnly)) {
            return Fail(error, CannotWrite(path));
        }
    }
    QPdfWriter writer(fileName);
    writer.setResolution(kVectorDotsPerInch);
    const QPageSize pageSize(QSizeF(static_cast<double>(width) / kVectorDotsPerInch,
                                    static_cast<double>(height) / kVectorDotsPerInch),
                             QPageSize::Inch, QString(), QPageSize::ExactMatch);
    writer.setPageLayout(
        QPageLayout(pageSize, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Inch));
    QPainter painter;
    if (!painter.begin(&writer)) {
        return Fail(error, CannotWrite(path));
    }
    {
        QtSurface surface(painter, DeviceTechnology::RasterPrinter);
        draw(surface);
    }
    if (!painter.end() || QFileInfo(fileName).size() == 0) {
        return Fail(error, CannotWrite(path));
    }
    return true;
}

bool RenderEmf(const std::string& path, int width, int height,
               const std::function<void(Surface&)>& draw, std::string* error) {
    EmfSurface surface(path, width, height);
    if (!surface.IsOpen()) {
        return Fail(error, CannotWrite(path));
    }
    draw(surface);
    if (!surface.Close()) {
        return Fail(error, CannotWrite(path));
    }
    return true;
}

} // namespace

bool RenderToFile(const std::string& path, int width, int height,
                  const std::function<void(Surface&)>& draw, std::string* error) {
    const QString fileName = QFile::decodeName(path.c_str());
    const QString extension = QFileInfo(fileName).suffix().toLower();
    if (width <= 0 || height <= 0) {
        return Fail(error, "The picture size " + std::to_string(width) + " x " +
                               std::to_string(height) + " is not a positive size.");
    }
    if (extension == "png") {
        return RenderImage(path, fileName, "PNG", width, height, draw, error);
    }
    if (extension == "bmp") {
        return RenderImage(path, fileName, "BMP", width, height, draw, error);
    }
    if (extension == "svg") {
        return RenderSvg(path, fileName, width, height, draw, error);
    }
    if (extension == "pdf") {
        return RenderPdf(path, fileName, width, height, draw, error);
    }
    if (extension == "emf") {
        return RenderEmf(path, width, height, draw, error);
    }
    return Fail(error, "Cannot save \"" + path +
                           "\": the file name must end in .png, .bmp, .svg, .pdf or .emf.");
}
