#pragma once

#include <optional>
#include <string>
#include <string_view>

// Setup and data files are bytes. Shown in a window, their text is UTF-8
// when the bytes are valid UTF-8, and Windows-1252 otherwise (the files
// written on Windows); text typed in the window goes back in the encoding
// the file uses.
enum class TextEncoding { Utf8, Windows1252 };

bool IsValidUtf8(std::string_view bytes);

// The encoding a file's bytes are read in.
TextEncoding DetectEncoding(std::string_view bytes);

// The text of bytes in an encoding, as UTF-8. Windows-1252 decodes every
// byte: the five it leaves undefined become the control characters of the
// same number, so they come back unchanged.
std::string DecodeToUtf8(std::string_view bytes, TextEncoding encoding);

// UTF-8 text in an encoding; nothing when a character has no byte there
// (an "Ω" in a Windows-1252 file, or invalid UTF-8).
std::optional<std::string> EncodeFromUtf8(std::string_view text, TextEncoding encoding);

// The UTF-8 text of a piece of a file whose bytes are in fileEncoding. A
// piece that is not valid UTF-8 (cut short, or taken from another file such
// as a data file) is read as Windows-1252 whatever the file's encoding, so
// it still shows every byte.
std::string TextToUtf8(std::string_view bytes, TextEncoding fileEncoding);

// Text typed in the window (UTF-8) as the bytes stored in a file of
// fileEncoding. A character the encoding cannot hold is refused, never
// replaced: nothing is returned and *reason names the character.
std::optional<std::string> TypedTextToFile(std::string_view typed, TextEncoding fileEncoding,
                                           std::string* reason);

// "UTF-8" or "Windows-1252".
const char* EncodingName(TextEncoding encoding);
