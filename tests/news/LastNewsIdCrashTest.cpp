#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/TempDir.h"
#include "tests/support/WaitFor.h"
#include "util/SettingsFileCrypt.h"

namespace zolt {
namespace {

std::string Element(const std::string& id) {
    return "<%%LastNewsId%%>" + id + "<%%/LastNewsId%%>";
}

// A brand with a long about text, so that one write takes long enough for
// kills to land inside the encryption and the save, not only between writes.
std::string LargeBrand() {
    std::string text = "<%%ApplicationName%%>Crash Proof<%%/ApplicationName%%>\r\n";
    text += "<%%BranderType%%>Gold<%%/BranderType%%>\r\n<%%AboutText%%>";
    for (int i = 0; i < 1500; ++i) {
        text += "about line " + std::to_string(i) + " with some padding text\r\n";
    }
    text += "<%%/AboutText%%>\r\n";
    return text;
}

unsigned Seed() {
    if (const char* s = std::getenv("ZOLT_TEST_SEED")) {
        return static_cast<unsigned>(std::strtoul(s, nullptr, 10));
    }
    return std::random_device{}();
}

TEST(LastNewsIdCrash, KilledWriterLeavesOldOrNewFileComplete) {
    const unsigned seed = Seed();
    std::printf("seed %u (set ZOLT_TEST_SEED to repeat)\n", seed);
    std::mt19937 rng(seed);

    test::TempDir dir;
    const std::string settings = dir.file("dbsettings.dat");
    const std::string brand = LargeBrand();
    test::WriteFileBytes(settings, EncryptSettingsBytes(brand));

    constexpr int kKills = 200;
    long stored = 0;  // the id the file held after the last kill
    int cutInsideARun = 0;
    long totalWrites = 0;
    double periodUs = 0;  // mean time of one write, measured as we go
    for (int kill = 0; kill < kKills; ++kill) {
        SCOPED_TRACE("kill " + std::to_string(kill));
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        const long first = stored + 1;
        child.start(LASTNEWSID_WRITER,
                    {QString::fromStdString(dir.path()), QString::number(first), "1000000"});
        // A deadline, not a pace: under Wine on a busy machine a start takes seconds.
        ASSERT_TRUE(child.waitForStarted(60000));

        // Let the child finish a random number of writes, counted from its
        // output, then kill it at a random moment within the following one.
        const int writesBefore = static_cast<int>(rng() % 3) + 1;
        int lines = 0;
        bool badLine = false;
        QElapsedTimer clock;
        clock.start();
        ASSERT_TRUE(test::WaitFor(
            [&] {
                while (child.canReadLine()) {
                    const QByteArray line = child.readLine();
                    badLine = badLine || !line.startsWith("wrote ");
                    ++lines;
                }
                return badLine || lines >= writesBefore;
            },
            30000));
        ASSERT_FALSE(badLine);
        totalWrites += lines;
        const double measured = static_cast<double>(clock.nsecsElapsed()) / 1000.0 / lines;
        periodUs = periodUs == 0 ? measured : (periodUs * 0.8 + measured * 0.2);
        const auto jitter = std::chrono::microseconds(
            std::uniform_int_distribution<long>(0, static_cast<long>(periodUs))(rng));
        const auto until = std::chrono::steady_clock::now() + jitter;
        while (std::chrono::steady_clock::now() < until) {
        }
        child.kill();
        ASSERT_TRUE(child.waitForFinished(10000));

        // Old or new: the text of one finished write, at least the last one
        // the child reported.
        std::string plain;
        ASSERT_TRUE(DecryptSettingsBytes(test::ReadFileBytes(settings), plain));
        const std::string idText = plain.substr(std::min(plain.size(), brand.size() + 16));
        const long id = std::strtol(idText.c_str(), nullptr, 10);
        ASSERT_GE(id, first + lines - 1);
        ASSERT_EQ(plain, brand + Element(std::to_string(id)) + "\r\n")
            << "the settings text is neither the old nor the new one";
        cutInsideARun += id > first + lines - 1 ? 1 : 0;
        stored = id;
        ASSERT_FALSE(dir.exists("dbsettings.sim"));
    }
    std::printf("%d kills, %ld writes seen, %d after writes not yet reported, mean write %.0f us\n",
                kKills, totalWrites, cutInsideARun, periodUs);
}

}  // namespace
}  // namespace zolt
