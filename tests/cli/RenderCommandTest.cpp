#include "cli/CommandLineFixture.h"

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

TEST_F(CommandLine, ABatchDrawsWhatSingleRendersDrawAndGoesOnPastFailures) {
    const fs::path examples(DEMLA_EXAMPLES_DIR);
    std::string setups;
    for (const char* name :
         {"dk-male-mortality", "dk-male-births-by-month", "dk-male-person-years-triangles"}) {
        setups += Quoted(examples / (std::string(name) + ".dml")) + " ";
    }
    for (const std::string format : {"png", "bmp"}) {
        const fs::path out = fs::path(folder / ("batch-" + format));
        const Outcome batch = Demla("render " + setups + "--out-dir " + Quoted(out) +
                                    " --size 500x350 --jobs 2 --format " + format);
        ASSERT_EQ(batch.status, 0) << batch.err;
        for (const char* name :
             {"dk-male-mortality", "dk-male-births-by-month", "dk-male-person-years-triangles"}) {
            const fs::path single = folder / (std::string(name) + "." + format);
            ASSERT_EQ(Demla("render " + Quoted(examples / (std::string(name) + ".dml")) + " -o " +
                            Quoted(single) + " --size 500x350")
                          .status,
                      0);
            const fs::path drawn = out / (std::string(name) + "." + format);
            EXPECT_EQ(ReadTestFile(drawn), ReadTestFile(single)) << drawn;
            EXPECT_THAT(batch.err, HasSubstr(": drawn to " + drawn.string() + "\n"));
        }
    }

    // A map that fails and one that warns among good ones: each says so on
    // its line, the good one is drawn, and the status is the worst.
    std::ofstream(folder / "missing.dml") << "[DATA]\nMapMatrix=nothere.csv;\n";
    std::ofstream(folder / "table.dml") << "1,2\n3,4\n";
    const fs::path mixedOut = fs::path(folder / "mixed");
    const Outcome mixed = Demla(
        "render --cancel " + Quoted(folder / "missing.dml") + " " + Quoted(folder / "table.dml") +
        " " + Quoted(examples / "dk-male-mortality.dml") + " --out-dir " + Quoted(mixedOut));
    EXPECT_EQ(mixed.status, 1);
    EXPECT_THAT(mixed.err, HasSubstr((folder / "missing.dml") + ": not drawn\n"));
    EXPECT_THAT(mixed.err, HasSubstr("but its loading gave the messages above\n"));
    EXPECT_TRUE(fs::exists(mixedOut / "dk-male-mortality.png"));
    EXPECT_FALSE(fs::exists(mixedOut / "missing.png"));
    const Outcome warned =
        Demla("render " + Quoted(folder / "table.dml") + " " +
              Quoted(examples / "dk-male-mortality.dml") + " --out-dir " + Quoted(mixedOut));
    EXPECT_EQ(warned.status, 3);
}

TEST_F(CommandLine, ABatchRefusesMapsThatWouldShareAPictureBeforeDrawingAny) {
    fs::create_directories(folder / "a");
    fs::create_directories(folder / "b");
    const fs::path first = CopyExample("dk-male-mortality.dml");
    CopyExample("dk-male-mortality.csv");
    fs::copy_file(first, fs::path(folder / "a") / "dk-male-mortality.dml");
    fs::copy_file(first, fs::path(folder / "b") / "dk-male-mortality.dml");
    fs::create_directories(folder / "out");
    std::ofstream(fs::path(folder / "out") / "dk-male-mortality.png") << "mine";
    const Outcome run = Demla("render " + Quoted(fs::path(folder / "a") / "dk-male-mortality.dml") +
                              " " + Quoted(fs::path(folder / "b") / "dk-male-mortality.dml") +
                              " --out-dir " + Quoted(folder / "out"));
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr("would both be drawn to"));
    EXPECT_EQ(ReadTestFile(fs::path(folder / "out") / "dk-male-mortality.png"), "mine");

    for (const char* wrong : {"--jobs 0", "--jobs x", "--format gif", "-o x.png"}) {
        EXPECT_EQ(
            Demla("render " + Quoted(first) + " --out-dir " + Quoted(folder / "out") + " " + wrong)
                .status,
            2)
            << wrong;
    }
}

// What a PDF reader makes of a file: its pages and its outline.
std::string PdfOutlineOf(const fs::path& pdf) {
    const fs::path xml = pdf.string() + ".xml";
    const std::string command =
        "pdftohtml -q -xml -stdout -i '" + pdf.string() + "' >'" + xml.string() + "' 2>/dev/null";
    if (std::system(command.c_str()) != 0) {
        return "unreadable";
    }
    const std::string text = ReadTestFile(xml);
    const std::size_t begin = text.find("<outline>");
    const std::size_t end = text.find("</outline>");
    return begin == std::string::npos || end == std::string::npos ? ""
                                                                  : text.substr(begin, end - begin);
}

TEST_F(CommandLine, AnAtlasHasAPagePerMapNamedInItsOutline) {
    const fs::path examples(DEMLA_EXAMPLES_DIR);
    std::ofstream(folder / "missing.dml") << "[DATA]\nMapMatrix=nothere.csv;\n";
    const fs::path atlas = fs::path(folder / "atlas.pdf");
    const Outcome run = Demla("render --cancel " + Quoted(examples / "dk-male-mortality.dml") +
                              " " + Quoted(folder / "missing.dml") + " " +
                              Quoted(examples / "dk-male-births-by-month.dml") + " -o " +
                              Quoted(atlas) + " --size 600x420");
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_THAT(run.err, HasSubstr("dk-male-mortality.dml: page 1 of "));
    EXPECT_THAT(run.err, HasSubstr("missing.dml: not drawn\n"));
    EXPECT_THAT(run.err, HasSubstr("dk-male-births-by-month.dml: page 2 of "));
    // The title's lines as they read, top down; the page a map would have
    // alone.
    const std::string outline = PdfOutlineOf(atlas);
    EXPECT_THAT(outline,
                HasSubstr("<item page=\"1\">Mortality of Danish men \xE2\x80\x93 Deaths per "
                          "1000 person-years</item>"));
    EXPECT_THAT(outline, HasSubstr("<item page=\"2\">Live births of Danish boys by month</item>"));
    EXPECT_EQ(outline.find("page=\"3\""), std::string::npos);

    // No map drawn: no file. Several maps into one file that is no PDF:
    // wrong usage.
    const Outcome none =
        Demla("render --cancel " + Quoted(folder / "missing.dml") + " " +
              Quoted(folder / "missing.dml") + " -o " + Quoted(folder / "none.pdf"));
    EXPECT_EQ(none.status, 1);
    EXPECT_FALSE(fs::exists(folder / "none.pdf"));
    EXPECT_EQ(Demla("render " + Quoted(examples / "dk-male-mortality.dml") + " " +
                    Quoted(examples / "dk-male-mortality.dml") + " -o " +
                    Quoted(folder / "two.png"))
                  .status,
              2);
}

} // namespace
