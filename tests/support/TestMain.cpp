#include <QCoreApplication>

#include <gtest/gtest.h>

// Plain tests still get an application object, so that Qt's event loop,
// QNetworkAccessManager and QProcess work.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
