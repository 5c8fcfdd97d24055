#include "app/CommandLineFixture.h"

#include <QImage>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

// The colour of the image's pixel as 0xRRGGBB.
unsigned Pixel(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFFu;
}

TEST_F(CommandLine, RenderDrawsEveryExampleInEveryFormat) {
    for (const std::string name : {"dk-male-mortality", "dk-female-mortality",
                                   "dk-male-births-by-month", "dk-male-person-years-triangles"}) {
        const fs::path setup = fs::path(DEMLA_EXAMPLES_DIR) / (name + ".dml");
        for (const std::string extension : {".png", ".bmp", ".svg", ".pdf", ".emf"}) {
            const fs::path out = folder / (name + extension);
            const Outcome run = Demla("render " + Quoted(setup) + " -o " + Quoted(out));
            EXPECT_EQ(run.status, 0) << name << extension << run.err;
            EXPECT_GT(fs::exists(out) ? fs::file_size(out) : 0, 1000u) << name << extension;
        }
    }
}

TEST_F(CommandLine, RenderShowsTheFittedPageWithoutItsOutline) {
    const fs::path out = folder / "map.png";
    const Outcome run =
        Demla("render " + Quoted(fs::path(DEMLA_EXAMPLES_DIR) / "dk-male-mortality.dml") + " -o " +
              Quoted(out) + " --size 600x600");
    ASSERT_EQ(run.status, 0) << run.err;
    const QImage image(QString::fromStdString(out.string()));
    ASSERT_EQ(image.size(), QSize(600, 600));
    // A landscape page in a square window: white bands above and below,
    // and no dotted page outline anywhere on them.
    for (int x = 0; x < 600; ++x) {
        EXPECT_EQ(Pixel(image, x, 5), 0xFFFFFFu) << x;
        EXPECT_EQ(Pixel(image, x, 594), 0xFFFFFFu) << x;
    }
    // The middle of the plot holds a map colour, not the background.
    EXPECT_NE(Pixel(image, 250, 300), 0xFFFFFFu);
}

TEST_F(CommandLine, RenderRefusesBadRequestsAndWritesNothingForABadDocument) {
    const fs::path example = fs::path(DEMLA_EXAMPLES_DIR) / "dk-male-mortality.dml";
    EXPECT_EQ(Demla("render " + Quoted(example)).status, 2);
    EXPECT_EQ(Demla("render " + Quoted(example) + " -o x.png --size 0x10").status, 2);
    EXPECT_EQ(Demla("render " + Quoted(example) + " -o x.png --size 10x").status, 2);

    const Outcome unknown = Demla("render " + Quoted(example) + " -o " + Quoted(folder / "x.gif"));
    EXPECT_EQ(unknown.status, 1);
    EXPECT_FALSE(fs::exists(folder / "x.gif"));

    const fs::path broken = folder / "broken.dml";
    std::ofstream(broken) << "[SYSTEM]\r\nType=Other;\r\n";
    const fs::path out = folder / "broken.png";
    const Outcome run = Demla("render " + Quoted(broken) + " -o " + Quoted(out));
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr("Document of this type cannot be opened"));
    EXPECT_FALSE(fs::exists(out));

    // A reversed data range holds no values: reported when loading, and the
    // map drawn with the range the file would have without it.
    const fs::path reversed = CopyExample("dk-male-mortality.dml");
    fs::copy_file(fs::path(DEMLA_EXAMPLES_DIR) / "dk-male-mortality.csv",
                  folder / "dk-male-mortality.csv");
    std::string text = ReadTestFile(reversed);
    const std::string range = "xTicks={1974, 2013};";
    ASSERT_NE(text.find(range), std::string::npos);
    text.replace(text.find(range), range.size(), "xTicks={2013, 1974};");
    std::ofstream(reversed, std::ios::binary | std::ios::trunc) << text;
    const Outcome paint = Demla("render " + Quoted(reversed) + " -o " + Quoted(out));
    EXPECT_EQ(paint.status, 3);
    EXPECT_THAT(paint.err, HasSubstr("xTicks from 2013 to 1974"));
    EXPECT_THAT(paint.err, Not(HasSubstr("CCSystem")));
    EXPECT_TRUE(fs::exists(out));
}

} // namespace
