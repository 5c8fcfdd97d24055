#include "gui/Resources.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

// The window tests run on Qt's offscreen platform, with the settings and
// the desktop files in a private folder so that a run changes nothing of
// the user's.
int main(int argc, char** argv) {
    std::string home = "/tmp/demla-gui-test-XXXXXX";
    if (::mkdtemp(home.data()) == nullptr) {
        return 1;
    }
    ::setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    InitDemlaResources();
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    // The desktop's cache tools may still be writing there.
    std::error_code error;
    std::filesystem::remove_all(home, error);
    return result;
}
