#include "platform/PdfBook.h"

#include "platform/PdfOutline.h"
#include "platform/QtSurface.h"

#include <QBuffer>
#include <QByteArray>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace {

// The resolution that PDF files give the picture's pixels.
constexpr int kDotsPerInch = 96;

} // namespace

struct PdfBook::Writer {
    Writer(int width, int height) : buffer(&bytes), pdf(&buffer) {
        buffer.open(QIODevice::WriteOnly);
        pdf.setResolution(kDotsPerInch);
        const QPageSize pageSize(QSizeF(static_cast<double>(width) / kDotsPerInch,
                                        static_cast<double>(height) / kDotsPerInch),
                                 QPageSize::Inch, QString(), QPageSize::ExactMatch);
        pdf.setPageLayout(
            QPageLayout(pageSize, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Inch));
    }

    QByteArray bytes;
    QBuffer buffer;
    QPdfWriter pdf;
    QPainter painter;
};

PdfBook::PdfBook(int width, int height) : writer_(std::make_unique<Writer>(width, height)) {}

PdfBook::~PdfBook() {
    if (writer_->painter.isActive()) {
        writer_->painter.end();
    }
}

bool PdfBook::AddPage(const std::function<void(Surface&)>& draw, std::string* cause) {
    if (titles_.empty()) {
        if (!writer_->painter.begin(&writer_->pdf)) {
            if (cause != nullptr) {
                *cause = "the PDF writer could not start";
            }
            return false;
        }
    } else {
        writer_->pdf.newPage();
    }
    {
        QtSurface surface(writer_->painter, DeviceTechnology::RasterPrinter);
        draw(surface);
    }
    titles_.emplace_back();
    allTitled_ = false;
    return true;
}

bool PdfBook::AddPage(const std::function<void(Surface&)>& draw, const std::string& title,
                      std::string* cause) {
    const bool titled = titles_.empty() || allTitled_;
    if (!AddPage(draw, cause)) {
        return false;
    }
    titles_.back() = title;
    allTitled_ = titled;
    return true;
}

std::optional<std::string> PdfBook::Finish(std::string* cause) {
    const auto fail = [cause](const char* why) -> std::optional<std::string> {
        if (cause != nullptr) {
            *cause = why;
        }
        return std::nullopt;
    };
    if (titles_.empty()) {
        return fail("the PDF document has no page");
    }
    if (!writer_->painter.end() || writer_->bytes.isEmpty()) {
        return fail("the PDF writer could not finish the document");
    }
    std::string bytes = writer_->bytes.toStdString();
    if (allTitled_ && !AddPdfOutline(bytes, titles_)) {
        return fail("the PDF writer's document could not take an outline");
    }
    return bytes;
}
