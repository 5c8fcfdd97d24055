#include "document/SafeFile.h"
#include "setup/TextEncoding.h"
#include "support/ScriptedPrompt.h"
#include "support/TempFile.h"
#include "view/HelpTopics.h"
#include "view/SetupText.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <vector>

namespace {

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(TextEncoding, Utf8KeptWindows1252Decoded) {
    EXPECT_EQ(DetectEncoding("D\xC3\xB8"
                             "delighed"),
              TextEncoding::Utf8);
    EXPECT_EQ(DetectEncoding("D\xF8"
                             "delighed"),
              TextEncoding::Windows1252);
    // Overlong forms and surrogates are not UTF-8.
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));
    EXPECT_FALSE(IsValidUtf8("\xE2\x80"));
    // The dash, the euro and curly quotes live in 0x80-0x9F.
    EXPECT_EQ(DecodeToUtf8("\x96 \x80 \x93x\x94", TextEncoding::Windows1252),
              "\xE2\x80\x93 \xE2\x82\xAC \xE2\x80\x9Cx\xE2\x80\x9D");
}

TEST(TextEncoding, EveryWindows1252ByteComesBack) {
    std::string all;
    for (int b = 1; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    const std::string text = DecodeToUtf8(all, TextEncoding::Windows1252);
    EXPECT_EQ(EncodeFromUtf8(text, TextEncoding::Windows1252), all);
    // A character the file's encoding has no byte for is refused.
    EXPECT_EQ(EncodeFromUtf8("\xCE\xA9", TextEncoding::Windows1252), std::nullopt);
    EXPECT_EQ(EncodeFromUtf8("\xCE\xA9", TextEncoding::Utf8), "\xCE\xA9");
}

TEST(EditorText, LineEndsAndEncodingRoundTrip) {
    const std::string files[] = {
        "[DATA]\r\nMapMatrix=x.csv;\r\n",
        "[DATA]\nTitle=\"D\xC3\xB8"
        "d\";\n",
        "Title=\"D\xF8"
        "d \x96 m\xE6nd\";\r\n",
        "no line end at all",
    };
    for (const std::string& bytes : files) {
        const std::optional<EditorText> text = EditorTextFromBytes(bytes, nullptr);
        ASSERT_TRUE(text) << bytes;
        EXPECT_EQ(text->text.find('\r'), std::string::npos);
        EXPECT_EQ(BytesFromEditorText(text->text, text->encoding, text->lineEnd, nullptr), bytes);
    }
    // Typed text goes back in the file's encoding.
    const std::optional<EditorText> latin = EditorTextFromBytes("A=\xE6;\r\n", nullptr);
    ASSERT_TRUE(latin);
    EXPECT_EQ(BytesFromEditorText(latin->text + "B=\xC3\xB8;\n", latin->encoding, latin->lineEnd,
                                  nullptr),
              "A=\xE6;\r\nB=\xF8;\r\n");
    std::string reason;
    EXPECT_FALSE(BytesFromEditorText("\xCE\xA9", latin->encoding, latin->lineEnd, &reason));
    EXPECT_NE(reason.find("Windows-1252"), std::string::npos);
}

TEST(EditorText, ZeroBytesAreRefusedNotCut) {
    std::string reason;
    const std::string bytes("[DATA]\r\nMap\0Matrix=x;\r\n", 23);
    EXPECT_FALSE(EditorTextFromBytes(bytes, &reason));
    EXPECT_NE(reason.find("zero bytes"), std::string::npos);
}

TEST(SaveSetupText, WritesWithBackupAndKeepsTheFileOnFailure) {
    TempTestFolder folder;
    ScriptedPrompt prompt;
    const std::string path = folder.Write("map.dml", "old\r\n");
    ASSERT_TRUE(SaveSetupText(path, "new\r\n", {}, prompt));
    EXPECT_EQ(ReadBytes(path), "new\r\n");
    EXPECT_EQ(ReadBytes(folder / "map.dml.bak"), "old\r\n");
    EXPECT_EQ(prompt.Count(), 0u);

    // A read-only file is refused with the message, and stays as it was.
    ::chmod(path.c_str(), 0444);
    EXPECT_FALSE(SaveSetupText(path, "newer\r\n", {}, prompt));
    EXPECT_EQ(ReadBytes(path), "new\r\n");
    ASSERT_EQ(prompt.Count(), 1u);
    EXPECT_EQ(prompt.Last().caption, "Error");
    EXPECT_EQ(prompt.Last().text.rfind("Cannot open document for writing: " + path, 0), 0u);
}

TEST(SaveSetupText, NeitherTheTextNorItsBackupReplaceAFileTheMapReads) {
    TempTestFolder folder;
    ScriptedPrompt prompt;
    // The data file has the name the backup would take.
    const std::string data = folder.Write("map.dml.bak", "1,2\r\n");
    const std::string path = folder.Write("map.dml", "[DATA]\r\nMapMatrix=map.dml.bak;\r\n");
    const std::vector<std::string> reads{data};
    ASSERT_TRUE(SaveSetupText(path, "new\r\n", reads, prompt));
    EXPECT_EQ(ReadBytes(data), "1,2\r\n");
    EXPECT_EQ(ReadBytes(path), "new\r\n");
    EXPECT_EQ(ReadBytes(BackupNameAvoiding(path, reads)), "[DATA]\r\nMapMatrix=map.dml.bak;\r\n");

    // Saving the text over the data file itself is refused.
    EXPECT_FALSE(SaveSetupText(data, "text\r\n", reads, prompt));
    EXPECT_EQ(ReadBytes(data), "1,2\r\n");
    EXPECT_EQ(prompt.Last().caption, "Error");
}

TEST(HelpTopics, SectionKeyOrMapTopic) {
    EXPECT_EQ(HelpTopicForCaret("  [COLORS]  ", 0), "section-COLORS");
    EXPECT_EQ(HelpTopicForCaret("[MAP.SCALE]", 4), "section-MAP.SCALE");
    // The letters around the caret, wherever in the word it stands.
    const std::string line = "MapMatrix=data/x1.csv;";
    EXPECT_EQ(HelpTopicForCaret(line, 0), "key-MapMatrix");
    EXPECT_EQ(HelpTopicForCaret(line, 4), "key-MapMatrix");
    EXPECT_EQ(HelpTopicForCaret(line, 9), "key-MapMatrix");
    // Digits end a word.
    EXPECT_EQ(HelpTopicForCaret("TextFont.3={}", 4), "key-TextFont");
    EXPECT_EQ(HelpTopicForCaret("x = 12;", 5), "map-view");
    EXPECT_EQ(HelpTopicForCaret("   ", 1), std::nullopt);
    EXPECT_EQ(HelpTopicForCaret("", 0), std::nullopt);
}

} // namespace
