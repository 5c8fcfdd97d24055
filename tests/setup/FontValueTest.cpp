#include "setup/FontValue.h"
#include "setup/DemlaSetup.h"
#include "setup/DemlaSetupException.h"
#include "support/TempFile.h"

#include <gtest/gtest.h>
#include <string>

namespace {

TEST(FontValue, ReadsAndWritesTheThirteenNumbersAndTheFace) {
    FontRecord quoted = FontRecord::DefaultTextFont();
    quoted.SetFaceName("My \"Face\"");
    const TempTestFile file(
        "[F]\r\nFont={-21 0 900 0 700 1 0 0 0 0 0 2 34 \"Times New Roman\"};\r\n"
        "Big={3e12 0 0 0 400 300 0 0 0 0 0 2 0 \"Arial\"};\r\n"
        "Short={-12 0 0};\r\nQuoted=" +
        FontValueText(quoted) + ";\r\n");
    DemlaSetup reader;
    ASSERT_TRUE(reader.FindSection(file.Path(), "F"));
    FontRecord font;
    const auto read = [&](const char* item) {
        ASSERT_TRUE(reader.FindItem(item)) << item;
        ReadFontValue(reader, font);
    };
    read("Font");
    EXPECT_EQ(font.height, -21);
    EXPECT_EQ(font.escapement, 900);
    EXPECT_EQ(font.weight, 700);
    EXPECT_EQ(font.pitchAndFamily, 34);
    EXPECT_EQ(font.GetFaceName(), "Times New Roman");
    EXPECT_EQ(FontValueText(font), "{-21 0 900 0 700 1 0 0 0 0 0 2 34 \"Times New Roman\"}");

    // Out-of-range numbers saturate; one-byte fields keep their low byte.
    read("Big");
    EXPECT_EQ(font.height, 2147483647);
    EXPECT_EQ(font.italic, 300 & 0xFF);
    EXPECT_THROW(read("Short"), DemlaSetupException);
    // A quote in the face name survives a round trip.
    read("Quoted");
    EXPECT_EQ(font, quoted);
}

TEST(FontRecordTest, DefaultTextFontAndOneByteFields) {
    EXPECT_EQ(FontValueText(FontRecord::DefaultTextFont()),
              "{-12 0 0 0 400 0 0 0 0 0 0 2 0 \"Arial\"}");
    FontRecord record;
    record.SetNumber(12, -1); // a one-byte field keeps the low byte
    record.SetNumber(13, 7);  // past the record: ignored
    EXPECT_EQ(record.GetNumber(12), 255);
    record.SetFaceName(std::string(40, 'x'));
    EXPECT_EQ(record.GetFaceName().size(), 31u);
}

} // namespace
