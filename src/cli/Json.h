#pragma once

#include "setup/TextEncoding.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A small JSON writer: values are appended in order and the commas and
// colons between them are put in by the writer. Strings are written as
// valid UTF-8 whatever bytes they hold.
class JsonWriter {
public:
    // Texts from files are read in textEncoding, the encoding of the setup
    // file they come from.
    explicit JsonWriter(TextEncoding textEncoding = TextEncoding::Utf8)
        : textEncoding_(textEncoding) {}

    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    // The name of the next member of the current object.
    JsonWriter& Key(std::string_view key);

    // Text from setup and data files, in the writer's encoding; a text that
    // is not valid UTF-8 is read as Windows-1252.
    JsonWriter& Text(std::string_view bytes);
    // A file path: kept as it is when it is valid UTF-8, else read as
    // Windows-1252.
    JsonWriter& Path(std::string_view bytes);
    // A finite double; NaN and infinities, which JSON cannot hold, are null.
    JsonWriter& Number(double value);
    JsonWriter& Integer(std::int64_t value);
    JsonWriter& Bool(bool value);
    JsonWriter& Null();

    const std::string& Result() const { return out_; }

private:
    void BeforeValue();
    void Quoted(std::string_view utf8);

    TextEncoding textEncoding_;
    std::string out_;
    // One entry per open object or array: whether a value was written in it.
    std::vector<bool> hasValue_;
    bool afterKey_ = false;
};
