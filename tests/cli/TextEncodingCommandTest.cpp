#include "cli/CommandLineFixture.h"

#include <QString>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <tuple>

using ::testing::HasSubstr;

namespace {

// The map of an example with its second title line and its first text
// annotation replaced.
class NationalTexts : public CommandLine {
protected:
    fs::path WriteMap(const std::string& name, const std::string& title,
                      const std::string& annotation) {
        CopyExample("dk-male-mortality.csv");
        std::string setup = ReadTestFile(fs::path(DEMLA_EXAMPLES_DIR) / "dk-male-mortality.dml");
        Replace(setup, "\"Mortality of Danish men\"", "\"" + title + "\"");
        Replace(setup, "\"Source: Statistics Denmark, via the R package Epi\"",
                "\"" + annotation + "\"");
        const fs::path path = folder / name;
        std::ofstream(path, std::ios::binary) << setup;
        return path;
    }

    std::string Render(const fs::path& setup, const std::string& extension) {
        const fs::path out = folder / (setup.stem().string() + extension);
        const Outcome run = Demla("render " + Quoted(setup) + " -o " + Quoted(out));
        EXPECT_EQ(run.status, 0) << run.err;
        return ReadTestFile(out);
    }

    static void Replace(std::string& text, const std::string& from, const std::string& to) {
        const std::size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        text.replace(at, from.size(), to);
    }
};

const std::string kTitleUtf8 = "D\xC3\xB8"
                               "delighed \xE2\x80\x93 m\xC3\xA6nd";
const std::string kTitle1252 = "D\xF8"
                               "delighed \x96 m\xE6nd";
const std::string kNoteUtf8 = "f\xC3\xB8"
                              "dt 1940, 5 \xE2\x82\xAC";
const std::string kNote1252 = "f\xF8"
                              "dt 1940, 5 \x80";

// The UTF-16LE bytes of UTF-8 text, as a wide-character metafile record
// holds them.
std::string Utf16(const std::string& utf8) {
    std::string out;
    for (const char16_t unit : QString::fromStdString(utf8).toStdU16String()) {
        out += static_cast<char>(unit & 0xFF);
        out += static_cast<char>(unit >> 8);
    }
    return out;
}

TEST_F(NationalTexts, BothEncodingsDrawTheSameMapAndAMixedFileReadsAsWindows1252) {
    const fs::path utf8 = WriteMap("utf8.dml", kTitleUtf8, kNoteUtf8);
    const fs::path cp1252 = WriteMap("cp1252.dml", kTitle1252, kNote1252);
    const std::string image = Render(utf8, ".png");
    EXPECT_EQ(Render(cp1252, ".png"), image);

    // A UTF-8 title beside a Windows-1252 annotation: the whole file is
    // Windows-1252, so the title shows what those bytes are there.
    const fs::path mixed = WriteMap("mixed.dml", kTitleUtf8, kNote1252);
    const fs::path misread =
        WriteMap("misread.dml",
                 "D\xC3\x83\xC2\xB8"
                 "delighed \xC3\xA2\xE2\x82\xAC\xE2\x80\x9C m\xC3\x83\xC2\xA6nd",
                 kNoteUtf8);
    const std::string mixedImage = Render(mixed, ".png");
    EXPECT_EQ(mixedImage, Render(misread, ".png"));
    EXPECT_NE(mixedImage, image);

    // The metafile keeps every character in wide-character records.
    for (const fs::path& setup : {utf8, cp1252}) {
        const std::string metafile = Render(setup, ".emf");
        EXPECT_THAT(metafile, HasSubstr(Utf16(kTitleUtf8))) << setup;
        EXPECT_THAT(metafile, HasSubstr(Utf16(kNoteUtf8))) << setup;
    }
}

TEST_F(NationalTexts, InfoShowsUtf8AndResaveKeepsTheFilesBytes) {
    for (const auto& [name, title, note, encoding] :
         {std::tuple{"utf8.dml", kTitleUtf8, kNoteUtf8, "UTF-8"},
          std::tuple{"cp1252.dml", kTitle1252, kNote1252, "Windows-1252"}}) {
        SCOPED_TRACE(name);
        const fs::path setup = WriteMap(name, title, note);
        const Outcome info = Demla("info --json " + Quoted(setup));
        ASSERT_EQ(info.status, 0) << info.err;
        EXPECT_THAT(info.out, HasSubstr("\"text\":\"" + kTitleUtf8 + "\""));
        EXPECT_THAT(info.out, HasSubstr("\"text\":\"" + kNoteUtf8 + "\""));
        EXPECT_THAT(info.out, HasSubstr(std::string("\"encoding\":\"") + encoding + "\"}"));

        const fs::path saved = folder / "saved.dml";
        ASSERT_EQ(Demla("resave " + Quoted(setup) + " -o " + Quoted(saved)).status, 0);
        const std::string bytes = ReadTestFile(saved);
        EXPECT_THAT(bytes, HasSubstr("\"" + title + "\""));
        EXPECT_THAT(bytes, HasSubstr("\"" + note + "\""));
        ASSERT_EQ(Demla("resave " + Quoted(saved)).status, 0);
        EXPECT_EQ(ReadTestFile(saved), bytes);
    }
}

} // namespace
