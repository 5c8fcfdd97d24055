#include "platform/HeadlessGui.h"

#include <gtest/gtest.h>

// Qt draws only with an application object; the offscreen platform needs
// no display.
int main(int argc, char** argv) {
    EnsureHeadlessGui();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
