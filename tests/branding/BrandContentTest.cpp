#include <gtest/gtest.h>

#include <QDir>

#include <deque>
#include <set>
#include <string>
#include <vector>

#include "branding/BannerPicture.h"
#include "branding/BrandContent.h"
#include "tests/support/TempDir.h"

namespace zolt {
namespace {

// Random services that hand out scripted indexes and note the size of every
// list drawn from and every reseed.
struct ScriptedDraws {
    std::deque<int> script;
    std::vector<int> sizes;
    int reseeds = 0;

    Services services() {
        Services s;
        s.randomize = [this] { ++reseeds; };
        s.random = [this](int n) {
            sizes.push_back(n);
            int v = 0;
            if (!script.empty()) {
                v = script.front();
                script.pop_front();
            }
            return v;
        };
        return s;
    }
};

TEST(ChooseBrandContent, EachChoiceIsAFreshDrawFromItsOwnList) {
    ScriptedDraws draws;
    draws.script = {2, 1, 0, 1};
    const BrandContent c =
        ChooseBrandContent(draws.services(), {"<p>one</p>", "<p>two</p>", "<p>three</p>"},
                           {"a.jpg^http://a/", "b.gif^http://b/", "c.png^http://c/"},
                           {"L1^http://1/", "L2^http://2/", "L3^http://3/", "L4^http://4/"});
    EXPECT_EQ(c.WelcomeHtml, "<p>three</p>");
    EXPECT_EQ(c.bannerNumber, 2);
    EXPECT_EQ(c.BannerImageName, "b.gif");
    EXPECT_EQ(c.BannerClickURL, "http://b/");
    EXPECT_TRUE(c.BannerHasClick());
    EXPECT_EQ(c.Link1Caption, "L1");
    EXPECT_EQ(c.Link1URL, "http://1/");
    // Drawn from the three links left after the first was taken out.
    EXPECT_EQ(c.Link2Caption, "L3");
    EXPECT_EQ(c.Link2URL, "http://3/");
    EXPECT_TRUE(c.LinksVisible());
    EXPECT_EQ(draws.sizes, (std::vector<int>{3, 3, 4, 3}));
    EXPECT_EQ(draws.reseeds, 4);
}

TEST(ChooseBrandContent, EmptyListsChooseNothing) {
    ScriptedDraws draws;
    const BrandContent c = ChooseBrandContent(draws.services(), {}, {}, {});
    EXPECT_EQ(c.WelcomeHtml, "");
    EXPECT_EQ(c.bannerNumber, 0);
    EXPECT_EQ(c.BannerImageName, "");
    EXPECT_FALSE(c.BannerHasClick());
    EXPECT_FALSE(c.LinksVisible());
    EXPECT_EQ(c.Link2Caption, "");
    EXPECT_TRUE(draws.sizes.empty());
}

TEST(ChooseBrandContent, EntryFields) {
    struct Case {
        std::string entry, field0, field1;
    };
    const std::vector<Case> cases = {
        {"pic.jpg^http://x/", "pic.jpg", "http://x/"},
        {"pic.jpg^", "pic.jpg", ""},  // trailing empty field dropped
        {"pic.jpg^^", "pic.jpg", ""},
        {"pic.jpg", "pic.jpg", ""},  // no field 1 at all reads as empty
        {"^http://x/", "", "http://x/"},
        {"a^b^c", "a", "b"},
    };
    for (const auto& c : cases) {
        ScriptedDraws draws;
        const BrandContent content = ChooseBrandContent(draws.services(), {}, {c.entry}, {c.entry});
        EXPECT_EQ(content.BannerImageName, c.field0) << c.entry;
        EXPECT_EQ(content.BannerClickURL, c.field1) << c.entry;
        EXPECT_EQ(content.Link1Caption, c.field0) << c.entry;
        EXPECT_EQ(content.Link1URL, c.field1) << c.entry;
        EXPECT_EQ(content.LinksVisible(), !c.field0.empty()) << c.entry;
        EXPECT_EQ(content.Link2Caption, "");
        EXPECT_EQ(content.Link2URL, "");
    }
}

TEST(ChooseBrandContent, TwoLinksAreNeverTheSameEntry) {
    const std::vector<std::string> links = {"A^a", "B^b", "C^c"};
    std::set<std::pair<std::string, std::string>> seen;
    for (int j = 0; j < 3; ++j) {
        for (int k = 0; k < 2; ++k) {
            ScriptedDraws draws;
            draws.script = {j, k};
            const BrandContent c = ChooseBrandContent(draws.services(), {}, {}, links);
            EXPECT_NE(c.Link1Caption, c.Link2Caption);
            seen.insert({c.Link1Caption, c.Link2Caption});
        }
    }
    // Every ordered pair of different entries can come up.
    EXPECT_EQ(seen.size(), 6u);
}

TEST(CenterBanner, Positions) {
    struct Case {
        int stripW, stripH, w, h, left, top;
    };
    const std::vector<Case> cases = {
        {778, 70, 468, 60, 155, 5},    {101, 71, 467, 61, 50 - 233, 35 - 30},
        {100, 30, 468, 60, -184, -15}, {99, 65, 0, 0, 49, 32},
        {0, 0, 5, 5, -2, -2},
    };
    for (const auto& c : cases) {
        const BannerPosition p = CenterBannerPosition(c.stripW, c.stripH, c.w, c.h);
        EXPECT_EQ(p.left, c.left) << c.stripW << "x" << c.stripH << " " << c.w << "x" << c.h;
        EXPECT_EQ(p.top, c.top) << c.stripW << "x" << c.stripH << " " << c.w << "x" << c.h;
    }
    EXPECT_EQ(BannerStripHeight(60), 70);
}

TEST(BannerPicture, NamesAndFormats) {
    struct Case {
        std::string imageName, fileNamePart, format;
        bool gif;
    };
    const std::vector<Case> cases = {
        {"top.jpg", "top.jpg", "jpg", false},
        {"C:\\Images\\Ads\\Banner.GIF", "Banner.GIF", "gif", true},
        {"C:banner.png", "banner.png", "png", false},
        {"../../etc/passwd", "passwd", "", false},
        {"sub/dir/strip.Jpeg", "strip.Jpeg", "jpeg", false},
        {"strip.gif.jpg", "strip.gif.jpg", "jpg", true},
        {"dir.gif\\strip.bmp", "strip.bmp", "bmp", false},
        {"gif.jpg", "gif.jpg", "jpg", false},
        {"C:\\Images\\", "", "", false},
        {"archive.tar.gz", "archive.tar.gz", "gz", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ImageFileNamePart(c.imageName), c.fileNamePart) << c.imageName;
        EXPECT_EQ(BannerPictureFormat(c.imageName), c.format) << c.imageName;
        EXPECT_EQ(IsGifBanner(c.imageName), c.gif) << c.imageName;
    }
    EXPECT_EQ(BannerFileName(1), "banner1.dat");
    EXPECT_EQ(BannerFileName(16), "banner16.dat");
}

QStringList Listing(const test::TempDir& dir) {
    return QDir(QString::fromStdString(dir.path()))
        .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

TEST(BannerPicture, ReadsTheStoredFileAndNeverTouchesAnyFile) {
    test::TempDir dir;
    dir.write("banner1.dat", "first picture");
    dir.write("banner2.dat", "second picture");
    dir.write("dbsettings.dat", "settings");
    dir.write("main.ico", "icon");
    const QStringList before = Listing(dir);

    // Image names that a renaming loader would have moved the banner onto.
    for (const std::string name :
         {"dbsettings.dat", "main.ico", "../escape.gif", "banner1.dat", "C:\\x\\Strip.JPG"}) {
        const auto picture = ReadBannerPicture(dir.path(), 2, name);
        ASSERT_TRUE(picture.has_value()) << name;
        EXPECT_EQ(picture->bytes, "second picture") << name;
    }
    EXPECT_EQ(Listing(dir), before);
    EXPECT_EQ(dir.read("banner2.dat"), "second picture");
    EXPECT_EQ(dir.read("dbsettings.dat"), "settings");
    EXPECT_EQ(dir.read("main.ico"), "icon");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(dir.path() + "/../escape.gif")));

    const auto jpeg = ReadBannerPicture(dir.path(), 1, "C:\\x\\Strip.JPG");
    ASSERT_TRUE(jpeg.has_value());
    EXPECT_EQ(jpeg->format, "jpg");
    EXPECT_FALSE(jpeg->animated);
    const auto gif = ReadBannerPicture(dir.path(), 1, "anim.GIF");
    ASSERT_TRUE(gif.has_value());
    EXPECT_EQ(gif->format, "gif");
    EXPECT_TRUE(gif->animated);

    EXPECT_FALSE(ReadBannerPicture(dir.path(), 3, "missing.jpg").has_value());
    EXPECT_FALSE(ReadBannerPicture(dir.path(), 1, "").has_value());
    EXPECT_FALSE(ReadBannerPicture(dir.path(), 0, "a.jpg").has_value());
}

}  // namespace
}  // namespace zolt
