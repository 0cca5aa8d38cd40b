// What branding adds to the start: constructing and showing the main window
// with a 4 KiB settings file (16 welcome pages, a GIF banner, 16 links)
// against the same window without one. "Branded/ReadBrandSetup" is the part
// without widgets: decrypting, parsing, choosing and reading the banner.
// "LoadBrandSettings/<bytes>" brands a set of bare controls from settings
// files of 4 KiB and 1 MiB, next to decrypting the same file alone.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "app/TfrmMain.h"
#include "branding/BrandSettings.h"
#include "branding/BrandSettingsFile.h"
#include "branding/BrandSetup.h"
#include "branding/SettingsTag.h"
#include "branding/ui/BrandTarget.h"
#include "branding/ui/LoadBrandSettings.h"
#include "tests/support/TestPictures.h"
#include "toolkit/BannerImage.h"
#include "toolkit/GifBanner.h"
#include "toolkit/LinkLabel.h"
#include "toolkit/Skin.h"
#include "util/SettingsFileCrypt.h"

namespace {

using namespace zolt;

std::string E(const std::string& key, const std::string& value) {
    return SettingsTag{key}.Element(value) + "\r\n";
}

std::string Filler(std::size_t bytes) {
    const std::string paragraph = "<p>Feeds, news and offers for your pages, every day.</p>";
    std::string filler;
    while (filler.size() + paragraph.size() <= bytes) {
        filler += paragraph;
    }
    return filler;
}

void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// `pageBytes` of filler paragraphs in every welcome page, for the big file.
std::string BrandedText(std::size_t pageBytes = 0, std::size_t total = 4096) {
    std::string text = E("ApplicationName", "Bench Feed Tool") + E("BranderCode", "BENCH") +
                       E("BranderType", "Master") +
                       E("AffiliateURL", "http://aff.example/?id=%%AFFILIATEID%%") +
                       E("AffiliateID", "42") + E("MasterNewsBaseURL", "http://127.0.0.1:9/") +
                       E("MasterPublID", "M1") + E("MakeMoneyButton", "Earn") +
                       E("AboutText", "About the bench\r\nSecond line");
    for (int n = 1; n <= 16; ++n) {
        text +=
            E("Welcome" + std::to_string(n), "<html><body><h1>Welcome " + std::to_string(n) +
                                                 "</h1><p>Thank you for choosing the bench.</p>" +
                                                 Filler(pageBytes) + "</body></html>");
    }
    text += E("Banner1", "anim.gif^http://banner.example/");
    for (int n = 1; n <= 16; ++n) {
        text += E("Link" + std::to_string(n),
                  "Sponsor " + std::to_string(n) + "^http://sponsor" + std::to_string(n) + "/");
    }
    // Padding outside the elements, which the reader skips, up to the size.
    if (text.size() < total) {
        text.append(total - text.size(), '-');
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

constexpr std::size_t kBigFile = 1 << 20;

// A settings text of 4 KiB or of 1 MiB (sixteen welcome pages of 64 KiB).
std::string SizedText(std::size_t bytes) {
    return bytes <= 4096 ? BrandedText() : BrandedText(bytes / 16 - 1024, bytes);
}

// A folder with a settings file of the given size and the GIF banner.
const QTemporaryDir& SizedFolder(std::size_t bytes) {
    static QTemporaryDir small, big;
    QTemporaryDir& dir = bytes <= 4096 ? small : big;
    const std::string path = dir.path().toStdString() + "/";
    if (!std::ifstream(path + "dbsettings.dat")) {
        Write(path + "dbsettings.dat", EncryptSettingsBytes(SizedText(bytes)));
        Write(path + "banner1.dat", test::MakeGif(468, 60));
    }
    return dir;
}

Folders& TheFolders() {
    static Folders folders;
    return folders;
}

ProgramConfig BenchConfig(const QTemporaryDir& dir) {
    ProgramConfig config = MakeProgramConfig(dir.path().toStdString() + "/");
    config.updateBaseUrl = "http://127.0.0.1:9/";
    return config;
}

void OpenWindow(benchmark::State& state, const QTemporaryDir& dir) {
    const ProgramConfig config = BenchConfig(dir);
    const Services services = MakeSystemServices();
    for (auto _ : state) {
        auto w = std::make_unique<TfrmMain>(config, services,
                                            [](MessageKind, const std::string&) { return true; });
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get())) {
            state.SkipWithError("window not exposed");
        }
        benchmark::DoNotOptimize(w->windowTitle());
        w.reset();
        // Deferred deletions of the window's helpers belong to this round.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

void BM_MainWindowUnbranded(benchmark::State& state) {
    OpenWindow(state, TheFolders().plain);
}
void BM_MainWindowBranded(benchmark::State& state) {
    OpenWindow(state, TheFolders().branded);
}

void BM_ReadBrandSetup(benchmark::State& state) {
    const std::string dir = BenchConfig(TheFolders().branded).baseDir;
    const Services services = MakeSystemServices();
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadBrandSetup(dir, services));
    }
}

void BM_ReadSettingsText(benchmark::State& state) {
    const std::string dir = TheFolders().branded.path().toStdString();
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadBrandSettingsText(dir));
    }
}
BENCHMARK(BM_ReadSettingsText)->Unit(benchmark::kMicrosecond);

// The part of the above after decrypting: parsing, choosing, the banner.
void BM_MakeBrandSetup(benchmark::State& state) {
    const std::string dir = BenchConfig(TheFolders().branded).baseDir;
    const Services services = MakeSystemServices();
    const std::string text = BrandedText();
    for (auto _ : state) {
        benchmark::DoNotOptimize(MakeBrandSetup(dir, services, text));
    }
}

// The controls LoadBrandSettings changes, without the rest of the window.
struct BareTarget {
    explicit BareTarget(const Services& services)
        : makeMoney(new QPushButton(&window)),
          news(new QWidget(&window)),
          banner(new QWidget(&window)),
          image(new BannerImage(banner)),
          gif(new GifBanner(banner)),
          links(new QWidget(&window)),
          link1(new LinkLabel(services, links)),
          link2(new LinkLabel(services, links)) {}
    BrandTarget Target() {
        return BrandTarget{&window, makeMoney, news, banner, image, gif, links, link1, link2};
    }
    QWidget window;
    QPushButton* makeMoney;
    QWidget* news;
    QWidget* banner;
    BannerImage* image;
    GifBanner* gif;
    QWidget* links;
    LinkLabel* link1;
    LinkLabel* link2;
};

void BM_LoadBrandSettings(benchmark::State& state) {
    const auto bytes = static_cast<std::size_t>(state.range(0));
    const std::string dir = BenchConfig(SizedFolder(bytes)).baseDir;
    const Services services = MakeSystemServices();
    BareTarget controls(services);
    for (auto _ : state) {
        const std::optional<BrandSetup> setup = ReadBrandSetupOrNothing(dir, services);
        if (setup && setup->skinStyleSheet) {
            ApplySkin(*setup->skinStyleSheet);
        }
        LoadBrandSettings(setup, controls.Target());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

void BM_DecryptSettingsFile(benchmark::State& state) {
    const auto bytes = static_cast<std::size_t>(state.range(0));
    const std::string encrypted = EncryptSettingsBytes(SizedText(bytes));
    for (auto _ : state) {
        std::string plain;
        benchmark::DoNotOptimize(DecryptSettingsBytes(encrypted, plain));
    }
}

BENCHMARK(BM_LoadBrandSettings)->Arg(4096)->Arg(kBigFile)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DecryptSettingsFile)->Arg(4096)->Arg(kBigFile)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MainWindowUnbranded)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MainWindowBranded)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadBrandSetup)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MakeBrandSetup)->Unit(benchmark::kMicrosecond);

}  // namespace
