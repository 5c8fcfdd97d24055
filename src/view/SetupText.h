#pragma once

#include "setup/TextEncoding.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

class Prompt;

enum class LineEnd { CrLf, Lf };

// A setup file as the text editor holds it: UTF-8 with "\n" line ends,
// and what it takes to write the same bytes back.
struct EditorText {
    std::string text;
    TextEncoding encoding = TextEncoding::Utf8;
    LineEnd lineEnd = LineEnd::CrLf;
};

// The editor's text of a file's bytes. A file that holds zero bytes is
// refused (the editor would cut the text at the first one, and a save would
// then write the shortened text over the file), with the reason in *reason.
std::optional<EditorText> EditorTextFromBytes(std::string_view bytes, std::string* reason);

// The bytes of the editor's text in the file's encoding and line ends;
// nothing, with the reason, when a character cannot be written in that
// encoding.
std::optional<std::string> BytesFromEditorText(std::string_view text, TextEncoding encoding,
                                               LineEnd lineEnd, std::string* reason);

// Writes the bytes of a setup file edited as text the way a map is saved:
// the old file is copied to its backup first, then the new text replaces
// the file in one step, so a failure leaves the file as it was. False after
// a message to the user. readFiles are the files the map reads: neither
// the text nor the backup ever replaces one of them.
bool SaveSetupText(const std::string& path, std::string_view bytes,
                   std::span<const std::string> readFiles, Prompt& prompt);
