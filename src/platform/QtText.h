#pragma once

#include <QString>

#include <string>
#include <string_view>

// Texts of files (bytes) shown in windows: UTF-8 when valid, Windows-1252
// otherwise. Messages use CR LF line ends; Qt wants "\n" alone.
QString TextFromBytes(std::string_view bytes);

// A path as the file system knows it, and back (the local 8-bit encoding).
QString PathToQt(const std::string& path);
std::string PathFromQt(const QString& path);
