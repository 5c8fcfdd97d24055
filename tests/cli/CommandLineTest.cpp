#include "cli/CommandLineFixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

// The JSON of info without its "file" member, which names the path given.
std::string WithoutFile(const std::string& json) {
    const std::size_t end = json.find(",\"opened\"");
    return end == std::string::npos ? json : json.substr(end);
}

TEST_F(CommandLine, InfoOnTheExamplesAndTheirResavedCopies) {
    for (const std::string name : {"dk-male-mortality", "dk-female-mortality",
                                   "dk-male-births-by-month", "dk-male-person-years-triangles"}) {
        const Outcome info =
            Demla("info --json " + Quoted(fs::path(DEMLA_EXAMPLES_DIR) / (name + ".dml")));
        EXPECT_EQ(info.status, 0) << name << info.err;
        EXPECT_THAT(info.out, HasSubstr("\"opened\":true,\"messages\":[],\"data\":{\"format\":2"));
        EXPECT_EQ(info.err, "");

        // Saving and loading again gives the same settings; a scale computed
        // from the data is rounded to the legend's format once.
        const std::string data =
            name + (name.find("births") != std::string::npos ? ".txt" : ".csv");
        CopyExample(data);
        const fs::path setup = CopyExample(name + ".dml");
        EXPECT_EQ(Demla("resave " + Quoted(setup) + " -o " + Quoted(folder / "again.dml")).status,
                  0);
        EXPECT_EQ(ReadTestFile(setup),
                  ReadTestFile(fs::path(DEMLA_EXAMPLES_DIR) / (name + ".dml")));
        const Outcome again = Demla("info --json " + Quoted(folder / "again.dml"));
        if (name.find("triangles") == std::string::npos) {
            EXPECT_EQ(WithoutFile(again.out), WithoutFile(info.out)) << name;
        }
        EXPECT_EQ(Demla("resave " + Quoted(folder / "again.dml")).status, 0);
        EXPECT_EQ(Demla("info --json " + Quoted(folder / "again.dml")).out, again.out) << name;
    }
    const Outcome male =
        Demla("info --json " + Quoted(fs::path(DEMLA_EXAMPLES_DIR) / "dk-male-mortality.dml"));
    EXPECT_THAT(male.out, HasSubstr("\"x_label\":[{\"text\":\"Year\""));
    EXPECT_THAT(male.out, HasSubstr("\"y_label\":[{\"text\":\"Age\""));
    EXPECT_THAT(male.out, HasSubstr("\"boundaries\":[0.1,0.2,0.4,0.8,1.6,3.2,6.4,12.8,25.6,"));
}

TEST_F(CommandLine, UsageErrors) {
    for (const char* arguments :
         {"--bogus", "info", "info a.dml b.dml", "info a.dml --frobnicate", "resave a.dml -o",
          "new x.csv --format excel", "new x.csv --field ab"}) {
        const Outcome run = Demla(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_THAT(run.err, HasSubstr("demla info FILE.dml [--json]")) << arguments;
        EXPECT_EQ(run.out, "") << arguments;
    }
}

TEST_F(CommandLine, VersionAndHelpNameBothUses) {
    const Outcome version = Demla("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_THAT(version.out, ::testing::MatchesRegex("demla [0-9]+\\.[0-9]+\\.[0-9]+\n"));
    const Outcome help = Demla("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_THAT(help.out, HasSubstr("usage: demla [FILE.dml ...] [-unregister]\n"));
    EXPECT_THAT(help.out, HasSubstr("demla render FILE.dml"));
}

TEST_F(CommandLine, QuestionsAreAnsweredByPolicy) {
    std::ofstream(folder / "lost.dml") << "[DATA]\nMapMatrix=/nowhere/lost.csv;\n";
    const Outcome cancelled = Demla("info --json --cancel " + Quoted(folder / "lost.dml"));
    EXPECT_EQ(cancelled.status, 1);
    EXPECT_THAT(cancelled.err, HasSubstr("Error: Cannot open data file: /nowhere/lost.csv\n"));
    EXPECT_THAT(cancelled.out, HasSubstr("\"opened\":false,\"messages\":[{\"caption\":\"Error\""));
    EXPECT_THAT(cancelled.out, HasSubstr("\"answer\":\"cancel\"}]}"));

    // Bytes of a Latin-1 file and control characters come out as valid JSON.
    std::ofstream(folder / "latin.dml")
        << "[ANNOTATION]\nText=\"\xC5r\x01\t\";\n[MAP.ATTRIBUTES]\nDemlaMapType=Nope;\n";
    const Outcome latin = Demla("info --json " + Quoted(folder / "latin.dml"));
    EXPECT_EQ(latin.status, 3);
    EXPECT_THAT(latin.out, HasSubstr("\"text\":\"\xC3\x85r\\u0001\\t\""));
    EXPECT_THAT(latin.out, HasSubstr("{\"caption\":\"Alert\",\"text\":\"DemlaMapType item has an "
                                     "invalid value\\n\",\"answer\":null}"));
    EXPECT_THAT(latin.out, HasSubstr("\"min\":0,\"max\":0"));
    EXPECT_FALSE(fs::exists(folder / "latin.bak")); // info writes nothing
}

TEST_F(CommandLine, NewWritesTheWholeMapOrWithMinimalTheGeneratedLines) {
    const fs::path data = CopyExample("dk-male-births-by-month.txt");
    const Outcome made = Demla("new " + Quoted(data) + " --field spaces");
    ASSERT_EQ(made.status, 0) << made.err;
    const fs::path setup = folder / "dk-male-births-by-month.dml";
    EXPECT_EQ(made.out, setup.string() + "\n");
    // What saving the map that File New opens writes: its scale, colours,
    // ticks and titles, not a page that draws as an empty frame.
    const std::string whole = ReadTestFile(setup);
    for (const char* part :
         {"MapMatrix=", "AsciiFormat={ spaces, crlf };", "[PLOT.FRAME]", "Main Title", "Columns",
          "Rows", "xTicks=", "[MAP.SCALE]", "MapScale=", "[COLORS]", "MapColors="}) {
        EXPECT_THAT(whole, HasSubstr(part));
    }
    EXPECT_FALSE(fs::exists(setup.string() + ".bak"));
    const Outcome info = Demla("info " + Quoted(setup));
    EXPECT_EQ(info.status, 0) << info.err;
    EXPECT_THAT(info.out, HasSubstr("data: ASCII, 12 x 118, 0 missing"));
    // Saved again, the map stays as it was written.
    ASSERT_EQ(Demla("resave " + Quoted(setup)).status, 0);
    EXPECT_EQ(ReadTestFile(setup), whole);

    // A setup file already there is replaced only when the user agrees, and
    // then its backup holds the user's file.
    std::ofstream(setup, std::ios::trunc) << "[PLOT.FRAME]\nTitle=\"Mine\";\n";
    const Outcome declined = Demla("new " + Quoted(data) + " --cancel");
    EXPECT_EQ(declined.status, 1);
    EXPECT_THAT(declined.err, HasSubstr("Open Data File: The setup file already exists:"));
    EXPECT_EQ(ReadTestFile(setup), "[PLOT.FRAME]\nTitle=\"Mine\";\n");
    ASSERT_EQ(Demla("new " + Quoted(data) + " --field spaces --minimal").status, 0);
    EXPECT_EQ(ReadTestFile(setup), "[DATA]\nMapMatrix=" + data.string() +
                                       ";\nFormat=ASCII;\nAsciiFormat={ spaces, crlf };\n");
    EXPECT_EQ(ReadTestFile(setup.string() + ".bak"), "[PLOT.FRAME]\nTitle=\"Mine\";\n");

    EXPECT_EQ(Demla("new " + Quoted(folder / "absent.csv")).status, 1);
}

TEST_F(CommandLine, AFailedNewLeavesTheSetupFileAndItsBackupAlone) {
    const fs::path mine = CopyExample("dk-male-mortality.dml");
    const std::string original = ReadTestFile(mine);
    std::ofstream(folder / "ragged.csv") << "1,2,3\n4,5\n";
    for (int run = 0; run < 2; ++run) {
        const Outcome failed =
            Demla("new " + Quoted(folder / "ragged.csv") + " --cancel -o " + Quoted(mine));
        EXPECT_EQ(failed.status, 1);
        EXPECT_EQ(ReadTestFile(mine), original);
        EXPECT_FALSE(fs::exists(mine.string() + ".bak"));
    }
    // Answered Yes, the map of the ragged rows is what the user asked for:
    // written, with the user's file in its backup, and the question told
    // in the exit status.
    const Outcome accepted = Demla("new " + Quoted(folder / "ragged.csv") + " -o " + Quoted(mine));
    EXPECT_EQ(accepted.status, 3);
    EXPECT_THAT(ReadTestFile(mine), HasSubstr("ragged.csv"));
    EXPECT_EQ(ReadTestFile(mine.string() + ".bak"), original);

    // A read-only destination is refused before its backup is touched.
    std::ofstream(folder / "data.csv") << "1,2\n3,4\n";
    const fs::path readOnly = folder / "ro.dml";
    std::ofstream(readOnly) << "mine";
    std::ofstream(readOnly.string() + ".bak") << "older";
    fs::permissions(readOnly, fs::perms::owner_read);
    EXPECT_EQ(Demla("new " + Quoted(folder / "data.csv") + " -o " + Quoted(readOnly)).status, 1);
    EXPECT_EQ(ReadTestFile(readOnly), "mine");
    EXPECT_EQ(ReadTestFile(readOnly.string() + ".bak"), "older");

    // Pipes are refused, as data and as the setup file, without waiting.
    ASSERT_EQ(::mkfifo((folder / "pipe.csv").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((folder / "pipe.dml").c_str(), 0600), 0);
    EXPECT_EQ(
        Demla("new " + Quoted(folder / "pipe.csv") + " -o " + Quoted(folder / "p.dml")).status, 1);
    EXPECT_EQ(
        Demla("new " + Quoted(folder / "data.csv") + " -o " + Quoted(folder / "pipe.dml")).status,
        1);
    EXPECT_EQ(Demla("new " + Quoted(folder / "pipe.csv") + " --format hmd").status, 1);
}

TEST_F(CommandLine, SavesNeverReplaceWhatTheMapReads) {
    // The data file obs.bak keeps its numbers through new and resave.
    std::ofstream(folder / "obs.bak") << "1,2\r\n3,4\r\n";
    ASSERT_EQ(Demla("new " + Quoted(folder / "obs.bak") + " --format ascii").status, 0);
    ASSERT_EQ(Demla("resave " + Quoted(folder / "obs.dml")).status, 0);
    EXPECT_EQ(ReadTestFile(folder / "obs.bak"), "1,2\r\n3,4\r\n");
    // Nor is a file the map reads a place to save it.
    const Outcome over =
        Demla("resave " + Quoted(folder / "obs.dml") + " -o " + Quoted(folder / "obs.bak"));
    EXPECT_EQ(over.status, 1);
    EXPECT_THAT(over.err, HasSubstr("Error: Cannot save the map over a file it reads: "));
    EXPECT_EQ(ReadTestFile(folder / "obs.bak"), "1,2\r\n3,4\r\n");
    const Outcome own =
        Demla("new " + Quoted(folder / "obs.bak") + " -o " + Quoted(folder / "obs.bak"));
    EXPECT_EQ(own.status, 1);
    EXPECT_EQ(ReadTestFile(folder / "obs.bak"), "1,2\r\n3,4\r\n");
}

TEST_F(CommandLine, ResaveRefusesAPartialMapUnlessForced) {
    const std::string broken = "[PLOT.FRAME]\nTitle=\"T\";\n]\n[COLORS]\nMapColors={1 2};\n";
    std::ofstream(folder / "broken.dml") << broken;
    const Outcome refused = Demla("resave " + Quoted(folder / "broken.dml"));
    EXPECT_EQ(refused.status, 1);
    EXPECT_THAT(refused.err, HasSubstr("Use --force to save it anyway."));
    EXPECT_EQ(ReadTestFile(folder / "broken.dml"), broken);
    EXPECT_EQ(Demla("resave --force " + Quoted(folder / "broken.dml")).status, 3);
    EXPECT_THAT(ReadTestFile(folder / "broken.dml"), HasSubstr("[MAP.ATTRIBUTES]\r\n"));
    EXPECT_EQ(ReadTestFile(folder / "broken.dml.bak"), broken);
}

TEST_F(CommandLine, SetupFilesThatAreNotFilesAreRefused) {
    ASSERT_EQ(::mkfifo((folder / "pipe.dml").c_str(), 0600), 0);
    for (const std::string& path : {std::string("/dev/zero"), folder / "pipe.dml"}) {
        const Outcome info = Demla("info " + Quoted(path));
        EXPECT_EQ(info.status, 1) << path;
        EXPECT_THAT(info.err, HasSubstr("Unable open setup file")) << path;
    }
}

TEST_F(CommandLine, AFileThatIsNotASetupFileIsReportedAndNotReplaced) {
    const std::string table = "1,2,3\n4,5,6\n";
    std::ofstream(folder / "table.dml") << table;
    const Outcome info = Demla("info " + Quoted(folder / "table.dml"));
    EXPECT_EQ(info.status, 3);
    EXPECT_THAT(info.err, HasSubstr("is not a setup file of Demla"));
    const Outcome resave = Demla("resave " + Quoted(folder / "table.dml"));
    EXPECT_EQ(resave.status, 1);
    EXPECT_THAT(resave.err, HasSubstr("Use --force"));
    EXPECT_EQ(ReadTestFile(folder / "table.dml"), table);
    EXPECT_EQ(Demla("resave " + Quoted(folder / "table.dml") + " -o " + Quoted(folder / "new.dml"))
                  .status,
              3);
    EXPECT_EQ(ReadTestFile(folder / "table.dml"), table);
    EXPECT_EQ(Demla("resave --force " + Quoted(folder / "table.dml")).status, 3);
    EXPECT_THAT(ReadTestFile(folder / "table.dml"), HasSubstr("[DATA]"));
    EXPECT_EQ(ReadTestFile(folder / "table.dml.bak"), table);
}

TEST_F(CommandLine, RenderNeverDrawsOverTheFilesOfTheMap) {
    const fs::path setup = CopyExample("dk-male-mortality.dml");
    const fs::path data = CopyExample("dk-male-mortality.csv");
    const std::string setupBytes = ReadTestFile(setup);
    const std::string dataBytes = ReadTestFile(data);
    fs::create_symlink(data, folder / "data.png");
    fs::create_symlink(setup, folder / "setup.png");
    fs::create_hard_link(data, folder / "hard.png");
    for (const char* name : {"data.png", "setup.png", "hard.png"}) {
        const Outcome render = Demla("render " + Quoted(setup) + " -o " + Quoted(folder / name));
        EXPECT_EQ(render.status, 1) << name;
        EXPECT_THAT(render.err, HasSubstr("would replace a file of the map")) << name;
    }
    EXPECT_EQ(ReadTestFile(setup), setupBytes);
    EXPECT_EQ(ReadTestFile(data), dataBytes);
}

} // namespace
