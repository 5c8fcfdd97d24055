#include "setup/TextEncoding.h"

#include <gtest/gtest.h>

// A piece of a file is read in the file's encoding; a piece that is not
// valid UTF-8 is read as Windows-1252 even in a UTF-8 file.
TEST(TextEncoding, PiecesOfFilesReadInTheFilesEncoding) {
    EXPECT_EQ(TextToUtf8("m\xC3\xA6nd", TextEncoding::Utf8), "m\xC3\xA6nd");
    EXPECT_EQ(TextToUtf8("m\xE6nd \x80", TextEncoding::Utf8), "m\xC3\xA6nd \xE2\x82\xAC");
    // In a Windows-1252 file, bytes that happen to form UTF-8 are still
    // Windows-1252 characters.
    EXPECT_EQ(TextToUtf8("\xC3\xA6", TextEncoding::Windows1252), "\xC3\x83\xC2\xA6");
    EXPECT_EQ(TextToUtf8("plain", TextEncoding::Windows1252), "plain");
}

// Typed text is stored in the file's encoding; what it cannot hold is
// refused with the character named, never replaced.
TEST(TextEncoding, TypedTextIsStoredInTheFilesEncodingOrRefused) {
    std::string reason;
    EXPECT_EQ(
        TypedTextToFile("\xC3\xB8 \xE2\x80\x93 \xE2\x82\xAC", TextEncoding::Windows1252, &reason),
        "\xF8 \x96 \x80");
    EXPECT_EQ(TypedTextToFile("\xCE\xA9", TextEncoding::Utf8, &reason), "\xCE\xA9");
    EXPECT_TRUE(reason.empty());

    EXPECT_EQ(TypedTextToFile("x \xCE\xA9 y", TextEncoding::Windows1252, &reason), std::nullopt);
    EXPECT_NE(reason.find("\"\xCE\xA9\""), std::string::npos) << reason;
    EXPECT_NE(reason.find("Windows-1252"), std::string::npos) << reason;

    reason.clear();
    EXPECT_EQ(TypedTextToFile("bad \xE6", TextEncoding::Utf8, &reason), std::nullopt);
    EXPECT_FALSE(reason.empty());
}
