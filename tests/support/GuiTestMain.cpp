#include "toolkit/GuardedApplication.h"

#include <cstdlib>

#include <gtest/gtest.h>

// Widget tests run on the offscreen platform unless the caller chose one.
// Set here rather than by ctest, because Wine does not hand QT_* variables
// to the Windows programs it runs.
int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
#ifdef _WIN32
    // The offscreen platform on Windows reads fonts from one folder only:
    // the system's, so that captions are measured with the fonts users have.
    if (std::getenv("QT_QPA_FONTDIR") == nullptr && std::getenv("WINDIR") != nullptr) {
        qputenv("QT_QPA_FONTDIR", QByteArray(std::getenv("WINDIR")) + "\\Fonts");
    }
#endif
    zolt::GuardedApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
