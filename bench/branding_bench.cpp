// What branding adds to the start: constructing and showing the main window
// with a 4 KiB settings file (16 welcome pages, a GIF banner, 16 links)
// against the same window without one. "Branded/ReadBrandSetup" is the part
// without widgets: decrypting, parsing, choosing and reading the banner.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "app/TfrmMain.h"
#include "branding/BrandSettings.h"
#include "branding/BrandSettingsFile.h"
#include "branding/BrandSetup.h"
#include "branding/SettingsTag.h"
#include "tests/support/TestPictures.h"
#include "util/SettingsFileCrypt.h"

namespace {

using namespace zolt;

std::string E(const std::string& key, const std::string& value) {
    return SettingsTag{key}.Element(value) + "\r\n";
}

void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string BrandedText() {
    std::string text = E("ApplicationName", "Bench Feed Tool") + E("BranderCode", "BENCH") +
                       E("BranderType", "Master") +
                       E("AffiliateURL", "http://aff.example/?id=%%AFFILIATEID%%") +
                       E("AffiliateID", "42") + E("MasterNewsBaseURL", "http://127.0.0.1:9/") +
                       E("MasterPublID", "M1") + E("MakeMoneyButton", "Earn") +
                       E("AboutText", "About the bench\r\nSecond line");
    for (int n = 1; n <= 16; ++n) {
        text += E("Welcome" + std::to_string(n),
                  "<html><body><h1>Welcome " + std::to_string(n) +
                      "</h1><p>Thank you for choosing the bench.</p></body></html>");
    }
    text += E("Banner1", "anim.gif^http://banner.example/");
    for (int n = 1; n <= 16; ++n) {
        text += E("Link" + std::to_string(n),
                  "Sponsor " + std::to_string(n) + "^http://sponsor" + std::to_string(n) + "/");
    }
    // Padding outside the elements, which the reader skips, up to 4 KiB.
    while (text.size() < 4096) {
        text += "-";
    }
    return text;
}

struct Folders {
    QTemporaryDir plain;
    QTemporaryDir branded;
    Folders() {
        const std::string dir = branded.path().toStdString() + "/";
        Write(dir + "dbsettings.dat", EncryptSettingsBytes(BrandedText()));
        Write(dir + "banner1.dat", test::MakeGif(468, 60));
    }
};

Folders& TheFolders() {
    static Folders folders;
    return folders;
}

Services BenchServices(const QTemporaryDir& dir) {
    Services s = MakeSystemServices(dir.path().toStdString() + "/");
    s.showMessage = [](MessageKind, const std::string&) { return true; };
    s.updateBaseUrl = "http://127.0.0.1:9/";
    return s;
}

void OpenWindow(benchmark::State& state, const QTemporaryDir& dir) {
    const Services services = BenchServices(dir);
    for (auto _ : state) {
        auto w = std::make_unique<TfrmMain>(services);
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get())) {
            state.SkipWithError("window not exposed");
        }
        benchmark::DoNotOptimize(w->windowTitle());
        w.reset();
        // Deferred deletions of the window's helpers belong to this round.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    SetBrandSettings(BrandSettingsRecord{});
}

void BM_MainWindowUnbranded(benchmark::State& state) {
    OpenWindow(state, TheFolders().plain);
}
void BM_MainWindowBranded(benchmark::State& state) {
    OpenWindow(state, TheFolders().branded);
}

void BM_ReadBrandSetup(benchmark::State& state) {
    const Services services = BenchServices(TheFolders().branded);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadBrandSetup(services));
    }
}

void BM_ReadSettingsText(benchmark::State& state) {
    const std::string dir = TheFolders().branded.path().toStdString();
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadBrandSettingsText(dir));
    }
}
BENCHMARK(BM_ReadSettingsText)->Unit(benchmark::kMicrosecond);

// The two parts of the above: decrypting the file, and all the rest.
void BM_DecryptSettings(benchmark::State& state) {
    const std::string encrypted = EncryptSettingsBytes(BrandedText());
    for (auto _ : state) {
        std::string plain;
        benchmark::DoNotOptimize(DecryptSettingsBytes(encrypted, plain));
    }
}

void BM_MakeBrandSetup(benchmark::State& state) {
    const Services services = BenchServices(TheFolders().branded);
    const std::string text = BrandedText();
    for (auto _ : state) {
        benchmark::DoNotOptimize(MakeBrandSetup(services, text));
    }
}

BENCHMARK(BM_MainWindowUnbranded)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MainWindowBranded)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadBrandSetup)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DecryptSettings)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MakeBrandSetup)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
