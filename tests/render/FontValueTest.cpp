#include "render/FontValue.h"
#include "setup/DemlaSetup.h"
#include "setup/DemlaSetupException.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace {

// Writes text to a temporary setup file that lives as long as the object.
class TempSetupFile {
public:
    explicit TempSetupFile(const std::string& text) {
        char name[] = "/tmp/demla-fontvalue-XXXXXX";
        const int fd = mkstemp(name);
        close(fd);
        path_ = name;
        std::ofstream(path_, std::ios::binary) << text;
    }
    ~TempSetupFile() { std::remove(path_.c_str()); }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

TEST(FontValue, ReadsAndWritesTheThirteenNumbersAndTheFace) {
    TempSetupFile file("[F]\r\nFont={-21 0 900 0 700 1 0 0 0 0 0 2 34 \"Times New Roman\"};\r\n"
                       "Big={3e12 0 0 0 400 300 0 0 0 0 0 2 0 \"Arial\"};\r\n"
                       "Short={-12 0 0};\r\n");
    DemlaSetup reader;
    ASSERT_TRUE(reader.FindSection(file.Path(), "F"));
    ASSERT_TRUE(reader.FindItem("Font"));
    FontRecord font;
    ReadFontValue(reader, font);
    EXPECT_EQ(font.height, -21);
    EXPECT_EQ(font.escapement, 900);
    EXPECT_EQ(font.weight, 700);
    EXPECT_EQ(font.italic, 1);
    EXPECT_EQ(font.pitchAndFamily, 34);
    EXPECT_EQ(font.GetFaceName(), "Times New Roman");
    EXPECT_EQ(FontValueText(font), "{-21 0 900 0 700 1 0 0 0 0 0 2 34 \"Times New Roman\"}");

    // Out-of-range numbers saturate; one-byte fields keep their low byte.
    ASSERT_TRUE(reader.FindItem("Big"));
    ReadFontValue(reader, font);
    EXPECT_EQ(font.height, 2147483647);
    EXPECT_EQ(font.italic, 300 & 0xFF);

    ASSERT_TRUE(reader.FindItem("Short"));
    EXPECT_THROW(ReadFontValue(reader, font), DemlaSetupException);
}

TEST(FontValue, AQuoteInTheFaceNameSurvivesARoundTrip) {
    FontRecord font = FontRecord::DefaultTextFont();
    font.SetFaceName("My \"Face\"");
    TempSetupFile file("[F]\r\nFont=" + FontValueText(font) + ";\r\n");
    DemlaSetup reader;
    ASSERT_TRUE(reader.FindSection(file.Path(), "F"));
    ASSERT_TRUE(reader.FindItem("Font"));
    FontRecord back;
    ReadFontValue(reader, back);
    EXPECT_EQ(back, font);
}

} // namespace
