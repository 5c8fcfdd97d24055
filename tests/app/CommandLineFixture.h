#pragma once

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

// Runs the demla executable in a fresh temporary folder per test.

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string ReadFile(const fs::path& path) {
    std::ifstream input(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(input), std::istreambuf_iterator<char>());
}

class CommandLine : public ::testing::Test {
protected:
    CommandLine() {
        static std::atomic<int> counter{0};
        folder = fs::temp_directory_path() /
                 ("demla_app_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    ~CommandLine() override { fs::remove_all(folder); }

    // Runs demla with the arguments (already quoted for the shell).
    Outcome Demla(const std::string& arguments) const {
        const fs::path out = folder / "stdout.txt";
        const fs::path err = folder / "stderr.txt";
        const std::string command = std::string("'") + DEMLA_BINARY + "' " + arguments + " >'" +
                                    out.string() + "' 2>'" + err.string() + "'";
        Outcome run;
        const int raw = std::system(command.c_str());
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        run.out = ReadFile(out);
        run.err = ReadFile(err);
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

    fs::path folder;
};
