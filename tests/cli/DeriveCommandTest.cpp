#include "cli/CommandLineFixture.h"

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

TEST_F(CommandLine, NewDeriveWritesTheSectionAndTheScaleOfARatio) {
    const fs::path table = CopyExample("dk-mortality-Mx_1x1.txt");
    const fs::path setup = folder / "ratio.dml";
    const Outcome made =
        Demla("new " + Quoted(table) + " --column Male --derive ratio --second-column Female -o " +
              Quoted(setup));
    ASSERT_EQ(made.status, 0) << made.err;
    const std::string text = ReadTestFile(setup);
    EXPECT_THAT(text, HasSubstr("[DATA.DERIVED]\r\nOperation=ratio;\r\n"
                                "SecondValueColumn=Female;\r\n\r\n"));
    EXPECT_THAT(text,
                HasSubstr("Title={\r\n\"Ratio of Male to Female, dk-mortality-Mx_1x1\"\r\n};"));
    const Outcome info = Demla("info " + Quoted(setup));
    EXPECT_EQ(info.status, 0) << info.err;
    EXPECT_THAT(info.out,
                HasSubstr("scale: 9 boundaries: 0.25 0.35 0.50 0.71 1.00 1.41 2.00 2.83 4.00"));
    EXPECT_THAT(info.out, HasSubstr("derived: Ratio of Male to Female"));
}

TEST_F(CommandLine, NewDeriveFromTwoFilesReadsTheSecondAsTheFirst) {
    std::ofstream(folder / "a.txt") << "1 2 4\n8 6 0\n";
    std::ofstream(folder / "b.txt") << "1 1 2\n4 3 1\n";
    const fs::path setup = folder / "diff.dml";
    ASSERT_EQ(Demla("new " + Quoted(folder / "a.txt") + " --field spaces --derive difference" +
                    " --second " + Quoted(folder / "b.txt") + " -o " + Quoted(setup) + " --minimal")
                  .status,
              0);
    EXPECT_THAT(ReadTestFile(setup),
                HasSubstr("Operation=difference;\r\nSecondMatrix=" + (folder / "b.txt") +
                          ";\r\nSecondFormat=ASCII;\r\nSecondAsciiFormat={ spaces, crlf };\r\n"));
    const Outcome info = Demla("info " + Quoted(setup) + " --json");
    EXPECT_THAT(info.out, HasSubstr("\"min\":-1,\"max\":4"));
    EXPECT_THAT(info.out, HasSubstr("\"derived\":{\"operation\":\"difference\""));

    // A second matrix of another shape writes nothing and names both.
    std::ofstream(folder / "c.txt") << "1 1\n";
    const Outcome refused =
        Demla("new " + Quoted(folder / "a.txt") + " --field spaces --derive ratio --second " +
              Quoted(folder / "c.txt") + " -o " + Quoted(folder / "refused.dml"));
    EXPECT_EQ(refused.status, 1);
    EXPECT_THAT(refused.err, HasSubstr("has 1 row x 2 columns, but the map's matrix has 2 rows x "
                                       "3 columns"));
    EXPECT_FALSE(fs::exists(folder / "refused.dml"));
}

TEST_F(CommandLine, NewDeriveImprovementWithCohortLines) {
    const fs::path table = CopyExample("dk-mortality-Mx_1x1.txt");
    const fs::path setup = folder / "improvement.dml";
    ASSERT_EQ(Demla("new " + Quoted(table) + " --column Male --derive improvement --lag 5" +
                    " --cohort-lines 10 -o " + Quoted(setup))
                  .status,
              0);
    const std::string text = ReadTestFile(setup);
    EXPECT_THAT(text, HasSubstr("Operation=improvement;\r\nLag=5;\r\n"));
    // The earliest cohort of the plot is 1974 - 100 = 1874: lines from 1870.
    EXPECT_THAT(text, HasSubstr("CohortLines=Yes;\r\nCohortLinesStep=10;\r\n"
                                "CohortLinesFirst=1870;\r\n"));
    EXPECT_THAT(text, HasSubstr("MapScale={\r\n-0.08"));
}

TEST_F(CommandLine, NewDeriveOptionsOutOfPlaceAreUsageErrors) {
    const fs::path table = CopyExample("dk-mortality-Mx_1x1.txt");
    std::ofstream(folder / "a.csv") << "1,2\n3,4\n";
    const std::string csv = "new " + Quoted(folder / "a.csv");
    const std::string hmd = "new " + Quoted(table);
    const std::pair<std::string, std::string> cases[] = {
        {csv + " --derive quotient", "--derive is ratio, difference, improvement or smooth"},
        {csv + " --lag 2", "go with --derive"},
        {csv + " --derive ratio", "needs --second DATA"},
        {csv + " --derive ratio --second-column Female --second " + Quoted(folder / "a.csv"),
         "--second-column names a column"},
        {csv + " --derive smooth --lag 2", "--lag goes with --derive improvement"},
        {csv + " --derive improvement --lag 0", "--lag is a whole number"},
        {csv + " --derive smooth --half-width -1", "--half-width is a whole number"},
        {csv + " --derive improvement --second " + Quoted(folder / "a.csv"),
         "go with --derive ratio or difference"},
        {hmd + " --cohort-lines 0", "--cohort-lines is a number of years"},
    };
    for (const auto& [arguments, message] : cases) {
        const Outcome run = Demla(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_THAT(run.err, HasSubstr(message)) << arguments;
    }
    // The boundaries that are taken: a half-width of 0, a lag of 1.
    EXPECT_EQ(Demla(csv + " --derive smooth --half-width 0 -o " + Quoted(folder / "s.dml")).status,
              0);
    EXPECT_EQ(Demla(csv + " --derive improvement --lag 1 -o " + Quoted(folder / "i.dml")).status,
              0);
    const Outcome column = Demla(hmd + " --derive ratio --second-column Total");
    EXPECT_EQ(column.status, 1);
    EXPECT_THAT(column.err, Not(HasSubstr("usage")));
    const Outcome itself = Demla(hmd + " --column Male --derive ratio --second-column Male");
    EXPECT_EQ(itself.status, 1);
    EXPECT_THAT(itself.err, HasSubstr("A ratio of Male to itself is the same in every cell"));
}

} // namespace
