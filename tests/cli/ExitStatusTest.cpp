#include "CommandLineFixture.h"

#include <unistd.h>

using ::testing::HasSubstr;

namespace {

// A script can tell from the status alone whether the map is what its
// setup file asks for: 0 when loading reported nothing, 3 when it reported
// errors or warnings and the command still did its work, 1 when it failed.
TEST_F(CommandLine, ExitStatusesTellCleanWarnedAndFailedLoads) {
    std::ofstream(folder / "data.csv") << "1,2\n3,4\n";
    std::ofstream(folder / "empty.fmt", std::ios::binary)
        << std::string("\xDD\xDD\0\0\0\0\0\0\x86\0\0\0\0\0\0\0", 16);
    const std::string data = "[DATA]\nMapMatrix=data.csv;\n";
    const std::vector<std::pair<std::string, int>> cases = {
        {data, 0},
        {data + "[MAP.ATTRIBUTES]\nDemlaMapType=Round;\n", 3},   // a warning
        {data + "[MAP.SCALE]\nLinearScale={0, 1, 70000};\n", 3}, // a cut scale
        {data + "[ANNOTATION]\nText={\"A\" \"B\"};\n", 3},       // an accepted setup error
        {"[DATA]\nMapMatrix=empty.fmt;\n", 3},                   // a matrix of 0 rows
        {"[SYSTEM]\nType=Other;\n", 1},                          // not opened
    };
    int n = 0;
    for (const auto& [setup, status] : cases) {
        const fs::path map = folder / ("map" + std::to_string(n++) + ".dml");
        std::ofstream(map) << setup;
        const fs::path picture = folder / "map.png";
        EXPECT_EQ(Demla("info " + Quoted(map)).status, status) << setup;
        const Outcome render = Demla("render " + Quoted(map) + " -o " + Quoted(picture));
        EXPECT_EQ(render.status, status) << setup << render.err;
        EXPECT_EQ(fs::exists(picture), status != 1) << setup;
        fs::remove(picture);
        const fs::path saved = folder / "saved.dml";
        EXPECT_EQ(Demla("resave --force " + Quoted(map) + " -o " + Quoted(saved)).status, status)
            << setup;
        EXPECT_EQ(fs::exists(saved), status != 1) << setup;
        fs::remove(saved);
    }
    EXPECT_THAT(Demla("--help").out, HasSubstr("3 done (the output still written"));
}

// A render on a full disk says so and fails, and the picture that was there
// stays. Mounting the small file system takes root.
TEST_F(CommandLine, RenderOnAFullDiskFailsAndKeepsTheOldPicture) {
    const fs::path disk = folder / "disk";
    fs::create_directory(disk);
    if (::geteuid() != 0 ||
        std::system(
            ("mount -t tmpfs -o size=8k tmpfs " + Quoted(disk) + " 2>/dev/null").c_str()) != 0) {
        GTEST_SKIP() << "mounting a tmpfs takes root";
    }
    const fs::path example = CopyExample("dk-male-mortality.dml");
    fs::copy_file(fs::path(DEMLA_EXAMPLES_DIR) / "dk-male-mortality.csv",
                  folder / "dk-male-mortality.csv");
    for (const char* name : {"map.png", "map.bmp", "map.svg", "map.pdf", "map.emf"}) {
        std::ofstream(disk / name) << "old";
        const Outcome run =
            Demla("render " + Quoted(example) + " --size 2000x1400 -o " + Quoted(disk / name));
        EXPECT_EQ(run.status, 1) << name;
        EXPECT_THAT(run.err, HasSubstr("No space left on device")) << name;
        EXPECT_TRUE(ReadTestFile(disk / name) == "old") << name; // left as it was
        fs::remove(disk / name);
    }
    EXPECT_EQ(std::system(("umount " + Quoted(disk)).c_str()), 0);
}

} // namespace
