#include "toolkit/GuardedApplication.h"

#include <cstdlib>

#include <gtest/gtest.h>

// Widget tests run on the offscreen platform unless the caller chose one.
int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    zolt::GuardedApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
