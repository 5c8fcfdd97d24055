#pragma once

#include "support/TempFile.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>

namespace fs = std::filesystem;

// Runs the demla executable in a fresh temporary folder per test.

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

class CommandLine : public ::testing::Test {
protected:
    // Runs demla with the arguments (already quoted for the shell).
    Outcome Demla(const std::string& arguments) const {
        const fs::path out = folder / "stdout.txt";
        const fs::path err = folder / "stderr.txt";
        const std::string command = std::string("'") + DEMLA_BINARY + "' " + arguments + " >'" +
                                    out.string() + "' 2>'" + err.string() + "'";
        Outcome run;
        const int raw = std::system(command.c_str());
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        run.out = ReadTestFile(out);
        run.err = ReadTestFile(err);
        fs::remove(out);
        fs::remove(err);
        return run;
    }
    std::string Quoted(const fs::path& path) const { return "'" + path.string() + "'"; }
    fs::path CopyExample(const std::string& name) const {
        fs::copy_file(fs::path(DEMLA_EXAMPLES_DIR) / name, folder / name,
                      fs::copy_options::overwrite_existing);
        return folder / name;
    }

    TempTestFolder folder;
};
