#include "platform/QtText.h"

#include "setup/TextEncoding.h"

#include <QFile>

QString TextFromBytes(std::string_view bytes) {
    const std::string utf8 = TextToUtf8(bytes, TextEncoding::Utf8);
    QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

QString PathToQt(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string PathFromQt(const QString& path) {
    return QFile::encodeName(path).toStdString();
}
