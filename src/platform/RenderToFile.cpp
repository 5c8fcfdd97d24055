#include "platform/RenderToFile.h"

#include "document/SafeFile.h"
#include "platform/EmfSurface.h"
#include "platform/PdfBook.h"
#include "platform/PngWriter.h"
#include "platform/QtSurface.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include <string_view>

namespace {

using Draw = std::function<void(Surface&)>;

// The resolution that SVG and PDF files give the picture's pixels.
constexpr int kVectorDotsPerInch = 96;

// Larger images are refused rather than risk running out of memory.
constexpr long long kMaxPixels = 400LL * 1000 * 1000;

ExportResult Failed(std::string message) {
    return {false, std::move(message)};
}

std::string CannotWrite(const std::string& path, const std::string& cause) {
    return "Unable to write the file \"" + path + "\": " + cause + ".";
}

// The pictures are made in memory, where nothing but memory can fail; the
// file is written afterwards by one path that checks every step.

bool MakeImage(QByteArray& bytes, const char* format, int width, int height, const Draw& draw,
               std::string& cause) {
    if (static_cast<long long>(width) * height > kMaxPixels) {
        cause = "A picture of " + std::to_string(width) + " x " + std::to_string(height) +
                " pixels is too large for an image.";
        return false;
    }
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) {
        cause = "Not enough memory for a picture of " + std::to_string(width) + " x " +
                std::to_string(height) + " pixels.";
        return false;
    }
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        QtSurface surface(painter, DeviceTechnology::RasterDisplay);
        draw(surface);
    }
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const bool encoded =
        std::string_view(format) == "PNG" ? WritePng(image, buffer) : image.save(&buffer, format);
    if (!encoded) {
        cause = std::string("the ") + format + " encoder failed";
        return false;
    }
    return true;
}

bool MakeSvg(QByteArray& bytes, int width, int height, const Draw& draw, std::string& cause) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(QSize(width, height));
    generator.setViewBox(QRect(0, 0, width, height));
    generator.setResolution(kVectorDotsPerInch);
    QPainter painter;
    if (!painter.begin(&generator)) {
        cause = "the SVG generator could not start";
        return false;
    }
    {
        QtSurface surface(painter, DeviceTechnology::RasterDisplay);
        draw(surface);
    }
    if (!painter.end()) {
        cause = "the SVG generator could not finish the document";
        return false;
    }
    return true;
}

} // namespace

std::optional<std::string> MakePicture(std::string_view kind, int width, int height,
                                       const Draw& draw, std::string* cause) {
    std::string why;
    std::optional<std::string> picture;
    if (width <= 0 || height <= 0) {
        why = "The picture size " + std::to_string(width) + " x " + std::to_string(height) +
              " is not a positive size.";
    } else if (kind == "emf") {
        EmfSurface surface(width, height);
        draw(surface);
        std::string bytes;
        if (surface.Finish(bytes, &why)) {
            picture = std::move(bytes);
        }
    } else if (kind == "pdf") {
        PdfBook book(width, height);
        if (book.AddPage(draw, &why)) {
            picture = book.Finish(&why);
        }
    } else if (kind == "png" || kind == "bmp" || kind == "svg") {
        QByteArray bytes;
        bool made = false;
        if (kind == "png" || kind == "bmp") {
            made = MakeImage(bytes, kind == "png" ? "PNG" : "BMP", width, height, draw, why);
        } else if (kind == "svg") {
            made = MakeSvg(bytes, width, height, draw, why);
        }
        if (made) {
            picture = bytes.toStdString();
        }
    } else {
        why = "the kind of picture \"" + std::string(kind) + "\" is not known";
    }
    if (!picture && cause != nullptr) {
        *cause = why;
    }
    return picture;
}

ExportResult ExportPicture(const std::string& path, int width, int height, const Draw& draw) {
    const std::string extension =
        QFileInfo(QFile::decodeName(path.c_str())).suffix().toLower().toStdString();
    if (extension != "png" && extension != "bmp" && extension != "svg" && extension != "pdf" &&
        extension != "emf") {
        return Failed("Cannot save \"" + path +
                      "\": the file name must end in .png, .bmp, .svg, .pdf or .emf.");
    }
    std::string cause;
    const std::optional<std::string> bytes = MakePicture(extension, width, height, draw, &cause);
    if (!bytes) {
        // The image size messages stand on their own.
        return Failed(cause.ends_with(".") ? cause : CannotWrite(path, cause));
    }
    return WriteExportFile(path, *bytes);
}

ExportResult WriteExportFile(const std::string& path, std::string_view bytes) {
    FileWriteOptions options;
    options.overwriteInPlace = false;
    std::string reason;
    if (WriteFileAtomically(path, bytes, options, &reason) != FileWriteResult::Written) {
        return Failed(CannotWrite(path, reason));
    }
    return {true, {}};
}

bool RenderToFile(const std::string& path, int width, int height, const Draw& draw,
                  std::string* error) {
    ExportResult result = ExportPicture(path, width, height, draw);
    if (!result && error != nullptr) {
        *error = std::move(result.message);
    }
    return result.written;
}
