#include "view/SetupText.h"

#include "core/Prompt.h"
#include "document/SafeFile.h"
#include "document/SetupFileWrite.h"

std::optional<EditorText> EditorTextFromBytes(std::string_view bytes, std::string* reason) {
    if (bytes.find('\0') != std::string_view::npos) {
        if (reason != nullptr) {
            *reason = "The file holds zero bytes, so it is not a text the editor can show. "
                      "It is left as it is.";
        }
        return std::nullopt;
    }
    EditorText result;
    result.encoding = DetectEncoding(bytes);
    const bool crlf = bytes.find("\r\n") != std::string_view::npos;
    const bool bareLf = [&] {
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) {
                return true;
            }
        }
        return false;
    }();
    // Files written by this program end their lines with CR LF; a file
    // written on Linux keeps its LF.
    result.lineEnd = crlf || !bareLf ? LineEnd::CrLf : LineEnd::Lf;
    const std::string decoded = DecodeToUtf8(bytes, result.encoding);
    result.text.reserve(decoded.size());
    for (std::size_t i = 0; i < decoded.size(); ++i) {
        if (decoded[i] == '\r') {
            // CR LF, and a CR alone, are one line end in the editor.
            if (i + 1 < decoded.size() && decoded[i + 1] == '\n') {
                ++i;
            }
            result.text += '\n';
        } else {
            result.text += decoded[i];
        }
    }
    return result;
}

std::optional<std::string> BytesFromEditorText(std::string_view text, TextEncoding encoding,
                                               LineEnd lineEnd, std::string* reason) {
    std::string withEnds;
    withEnds.reserve(text.size() + text.size() / 16);
    for (const char c : text) {
        if (c == '\n' && lineEnd == LineEnd::CrLf) {
            withEnds += '\r';
        }
        withEnds += c;
    }
    return TypedTextToFile(withEnds, encoding, reason);
}

bool SaveSetupText(const std::string& path, std::string_view bytes,
                   std::span<const std::string> readFiles, Prompt& prompt) {
    std::string reason;
    const std::optional<std::string> target = ResolveLinks(path, &reason);
    if (!target || !MayWrite(*target, {}, &reason)) {
        return ReportCannotOpenSetup(prompt, path, reason);
    }
    for (const std::string& file : readFiles) {
        if (SameFile(*target, file)) {
            prompt.Show("Error", "Cannot save the map over a file it reads: " + path);
            return false;
        }
    }
    return WriteSetupFileWithBackup(
        {path, *target, std::vector<std::string>(readFiles.begin(), readFiles.end()), false}, bytes,
        prompt);
}
