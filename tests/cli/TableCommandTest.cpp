#include "cli/CommandLineFixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::HasSubstr;

namespace {

TEST_F(CommandLine, NewRecognisesADatabaseTableAndShowsItsColumn) {
    const fs::path table = CopyExample("dk-mortality-Mx_1x1.txt");
    const Outcome made = Demla("new " + Quoted(table));
    ASSERT_EQ(made.status, 0) << made.err;
    const fs::path setup = folder / "dk-mortality-Mx_1x1.dml";
    const std::string text = ReadTestFile(setup);
    EXPECT_THAT(text, HasSubstr("[DATA]\r\nMapMatrix=" + table.string() +
                                ";\r\nFormat=HMD;\r\nValueColumn=Male;\r\n"));
    EXPECT_THAT(text, HasSubstr("xTicks={1974,2013,0};"));
    EXPECT_THAT(text, HasSubstr("DemlaMapType=Rectangle;"));

    const Outcome female =
        Demla("new " + Quoted(table) + " --column Female -o " + Quoted(folder / "female.dml"));
    ASSERT_EQ(female.status, 0) << female.err;
    const Outcome info = Demla("info --json " + Quoted(folder / "female.dml"));
    EXPECT_THAT(info.out, HasSubstr("\"data\":{\"format\":3,\"format_name\":\"HMD\","));
    EXPECT_THAT(
        info.out,
        HasSubstr("\"table\":{\"title\":\"Denmark, Death rates (period 1x1)\",\"layout\":"
                  "\"squares\",\"value_column\":\"Female\",\"value_columns\":[\"Female\","
                  "\"Male\"],\"period\":\"Year\",\"periods\":[1974,2012],\"ages\":[0,99]}"));

    const Outcome unknown =
        Demla("new " + Quoted(table) + " --column Total -o " + Quoted(folder / "total.dml"));
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.err,
              "Error: The table has no column of values named \"Total\"; it has Female Male\n");
    EXPECT_FALSE(fs::exists(folder / "total.dml"));

    // A matrix of numbers stays a matrix; asked to be a table, it is refused.
    const fs::path matrix = CopyExample("dk-male-births-by-month.txt");
    EXPECT_EQ(Demla("new " + Quoted(matrix) + " --column Male").status, 2);
    const Outcome notTable = Demla("new " + Quoted(matrix) + " --format hmd");
    EXPECT_EQ(notTable.status, 1);
    EXPECT_THAT(notTable.err, HasSubstr("Error: Cannot read the table " + matrix.string() +
                                        "\nline 3: the column names should begin with Year"));
}

TEST_F(CommandLine, TableExamplesResaveAndDrawLikeTheirMatrices) {
    for (const auto& [name, data] :
         {std::pair{"dk-male-mortality-hmd", "dk-mortality-Mx_1x1.txt"},
          std::pair{"dk-male-exposures-lexis", "dk-male-exposures-lexis.txt"},
          std::pair{"synthetic-asfrVV", "synthetic-asfrVV.txt"}}) {
        CopyExample(data);
        const fs::path setup = CopyExample(std::string(name) + ".dml");
        const Outcome info = Demla("info --json " + Quoted(setup));
        EXPECT_EQ(info.status, 0) << name << info.err;
        EXPECT_THAT(info.out, HasSubstr("\"opened\":true,\"messages\":[]")) << name;
        // Saving rounds the boundaries to the legend's format once; after
        // that, saving and loading change nothing.
        ASSERT_EQ(Demla("resave " + Quoted(setup) + " -o " + Quoted(folder / "again.dml")).status,
                  0);
        const Outcome again = Demla("info --json " + Quoted(folder / "again.dml"));
        EXPECT_THAT(again.out, HasSubstr("\"messages\":[],\"data\":{\"format\":3,")) << name;
        ASSERT_EQ(Demla("resave " + Quoted(folder / "again.dml")).status, 0);
        EXPECT_EQ(Demla("info --json " + Quoted(folder / "again.dml")).out, again.out) << name;
    }
    // The triangle table holds the matrix of the triangle example, and
    // both maps have the same settings: the pictures are the same.
    CopyExample("dk-male-person-years-triangles.csv");
    const fs::path matrixMap = CopyExample("dk-male-person-years-triangles.dml");
    const fs::path tableMap = folder / "dk-male-exposures-lexis.dml";
    ASSERT_EQ(Demla("render " + Quoted(matrixMap) + " -o " + Quoted(folder / "m.png")).status, 0);
    ASSERT_EQ(Demla("render " + Quoted(tableMap) + " -o " + Quoted(folder / "t.png")).status, 0);
    EXPECT_GT(fs::file_size(folder / "t.png"), 10000u);
    EXPECT_TRUE(ReadTestFile(folder / "m.png") == ReadTestFile(folder / "t.png"));
}

} // namespace
