#include <QDir>
#include <QFileInfo>

#include <unistd.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "crypto/Encryption.h"
#include "crypto/MemoryStream.h"
#include "news/LastNewsId.h"
#include "tests/news/NewsIdText.h"
#include "tests/support/TempDir.h"
#include "util/SettingsFileCrypt.h"

namespace zolt {
namespace {

using test::Id;
using test::Text;

using test::TempDir;

std::string Element(const std::string& id) {
    return "<%%LastNewsId%%>" + id + "<%%/LastNewsId%%>";
}

struct RewriteCase {
    const char* name;
    std::string before;
    std::string after;  // with the id "16"
};

TEST(LastNewsIdText, RewritesOnlyTheElementAndEndsEveryLineWithCrLf) {
    const std::vector<RewriteCase> cases = {
        {"empty text", "", Element("16") + "\r\n"},
        {"appended", "A\r\nB\r\n", "A\r\nB\r\n" + Element("16") + "\r\n"},
        {"last line without end", "A\r\nB", "A\r\nB\r\n" + Element("16") + "\r\n"},
        {"lone LF and CR", "A\nB\rC\n", "A\r\nB\r\nC\r\n" + Element("16") + "\r\n"},
        {"replaced in place", "A\r\n" + Element("3") + "\r\nB\r\n",
         "A\r\n" + Element("16") + "\r\nB\r\n"},
        {"other text on the line", "x " + Element("3") + " y\r\nB\r\n",
         "x " + Element("16") + " y\r\nB\r\n"},
        {"tags in other case", "<%%lastnewsid%%>3<%%/LASTNEWSID%%>\r\n", Element("16") + "\r\n"},
        {"unclosed element", "A<%%LastNewsId%%>3\r\nB\r\n", "A" + Element("16") + "\r\nB\r\n"},
        {"first of two", Element("3") + "\r\n" + Element("4") + "\r\n",
         Element("16") + "\r\n" + Element("4") + "\r\n"},
        {"NUL ends the text", std::string("A\r\n\0B\r\n", 7), "A\r\n" + Element("16") + "\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string once = TextWithLastNewsId(c.before, Id("16"));
        EXPECT_EQ(once, c.after);
        EXPECT_EQ(Text(LastNewsIdFromText(once)), "16");
        // A second write replaces what the first one put there.
        const std::string twice = TextWithLastNewsId(once, Id("9"));
        EXPECT_EQ(Text(LastNewsIdFromText(twice)), "9");
        EXPECT_EQ(twice.size(), once.size() - 1);
    }
}

TEST(LastNewsIdText, ReadsTheFirstElementWhenItIsANumber) {
    EXPECT_EQ(Text(LastNewsIdFromText("")), "");
    EXPECT_EQ(Text(LastNewsIdFromText("A\r\nB\r\n")), "");
    EXPECT_EQ(Text(LastNewsIdFromText("<%%LastNewsId%%>7\r\n")), "");
    EXPECT_EQ(Text(LastNewsIdFromText("x" + Element("12") + "y")), "12");
    EXPECT_EQ(Text(LastNewsIdFromText(Element("5") + Element("6"))), "5");
    EXPECT_EQ(Text(LastNewsIdFromText("x" + Element(" 12 ") + "y")), "");
    EXPECT_EQ(Text(LastNewsIdFromText("<%%LastNewsId%%>1\n2<%%/LastNewsId%%>")), "");
}

TEST(LastNewsIdText, OnlyNumbersOfUpTo18DigitsAreStored) {
    const std::vector<std::pair<std::string, bool>> ids = {
        {"0", true},
        {"123456789012345678", true},
        {"1234567890123456789", false},
        {"", false},
        {"-1", false},
        {"+1", false},
        {" 1", false},
        {"1.5", false},
        {"0x1F", false},
        {"\xD9\xA1", false},  // an Arabic-Indic digit
        {"5<%%/LastNewsId%%><%%Welcome4%%><h1>x</h1><%%/Welcome4%%>", false},
        {"5\r\n<%%Welcome4%%>", false},
    };
    const std::string brand = "<%%BranderType%%>Gold<%%/BranderType%%>\r\n";
    for (const auto& [id, stored] : ids) {
        EXPECT_EQ(NewsId::Parse(id).has_value(), stored) << id;
        if (id.find("<%%") == std::string::npos) {
            EXPECT_EQ(Text(LastNewsIdFromText(brand + Element(id) + "\r\n")), stored ? id : "")
                << id;
        }
    }
}

class LastNewsIdFile : public ::testing::Test {
  protected:
    ProgramConfig config() const {
        ProgramConfig c;
        c.baseDir = dir.path();
        return c;
    }
    std::string path() const { return dir.file("dbsettings.dat"); }
    void writePlain(const std::string& plain) const {
        test::WriteFileBytes(path(), EncryptSettingsBytes(plain));
    }
    // The plain text, and whether it decrypted with matching verifier and code.
    std::string readPlain(bool* clean = nullptr) const {
        std::string plain;
        const bool ok = DecryptSettingsBytes(test::ReadFileBytes(path()), plain);
        if (clean != nullptr) {
            *clean = ok;
        }
        return plain;
    }
    QStringList entries() const {
        return QDir(QString::fromStdString(dir.path()))
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    TempDir dir;
};

TEST_F(LastNewsIdFile, MissingFileReadsEmptyAndIsNotCreated) {
    EXPECT_EQ(Text(ReadLastNewsId(config())), "");
    EXPECT_FALSE(WriteLastNewsId(config(), Id("4")));
    EXPECT_TRUE(entries().isEmpty());
}

#ifndef _WIN32  // POSIX links, permissions and devices
TEST_F(LastNewsIdFile, ALinkAsTheSettingsFileIsReplacedNotWrittenThrough) {
    TempDir elsewhere;
    const std::string original =
        EncryptSettingsBytes("<%%BranderType%%>Gold<%%/BranderType%%>\r\n");
    test::WriteFileBytes(elsewhere.file("real.dat"), original);
    ASSERT_EQ(::symlink(elsewhere.file("real.dat").c_str(), path().c_str()), 0);
    ASSERT_TRUE(WriteLastNewsId(config(), Id("5")));
    EXPECT_EQ(Text(ReadLastNewsId(config())), "5");
    EXPECT_FALSE(QFileInfo(QString::fromStdString(path())).isSymLink());
    EXPECT_EQ(elsewhere.read("real.dat"), original);
}
#endif

TEST_F(LastNewsIdFile, WritesAppendOnceThenReplaceKeepingEveryOtherByte) {
    // Windows-1252 letters, tabs, blanks at line ends and a multi-line value
    // must all survive the rewrite.
    const std::string brand =
        "<%%ApplicationName%%>Caf\xE9 Feeds <%%/ApplicationName%%>\r\n"
        "<%%BranderType%%>Gold<%%/BranderType%%>\r\n"
        "\t<%%AboutText%%>line one  \r\nline two<%%/AboutText%%>\r\n"
        "\r\n";
    writePlain(brand);
    EXPECT_EQ(Text(ReadLastNewsId(config())), "");

    ASSERT_TRUE(WriteLastNewsId(config(), Id("16")));
    bool clean = false;
    EXPECT_EQ(readPlain(&clean), brand + Element("16") + "\r\n");
    EXPECT_TRUE(clean);
    EXPECT_EQ(Text(ReadLastNewsId(config())), "16");

    // An older item read later leaves the newer one stored, the file as it was.
    const std::string withSixteen = test::ReadFileBytes(path());
    ASSERT_TRUE(WriteLastNewsId(config(), Id("3")));
    EXPECT_EQ(test::ReadFileBytes(path()), withSixteen);
    ASSERT_TRUE(WriteLastNewsId(config(), Id("17")));
    EXPECT_EQ(readPlain(&clean), brand + Element("17") + "\r\n");
    EXPECT_TRUE(clean);

    // No plain copy and no temporary file stay behind.
    EXPECT_EQ(entries(), QStringList{"dbsettings.dat"});
}

TEST_F(LastNewsIdFile, FileWithBareLineFeedsComesBackWithCrLf) {
    writePlain("<%%BranderType%%>Gold<%%/BranderType%%>\nA\n" + Element("2") + "\nB");
    ASSERT_TRUE(WriteLastNewsId(config(), Id("30")));
    const std::string plain = readPlain();
    EXPECT_EQ(plain,
              "<%%BranderType%%>Gold<%%/BranderType%%>\r\nA\r\n" + Element("30") + "\r\nB\r\n");
    for (size_t i = 0; i < plain.size(); ++i) {
        if (plain[i] == '\n') {
            ASSERT_TRUE(i > 0 && plain[i - 1] == '\r') << i;
        }
        if (plain[i] == '\r') {
            ASSERT_TRUE(i + 1 < plain.size() && plain[i + 1] == '\n') << i;
        }
    }
}

TEST_F(LastNewsIdFile, DamagedFileIsLeftByteForByte) {
    const std::string brand = "<%%BranderType%%>Gold<%%/BranderType%%>\r\n" + Element("5") + "\r\n";
    const std::string good = EncryptSettingsBytes(brand);
    ASSERT_EQ(good.size(), brand.size() + 20);

    std::string wrongPassword;
    {
        TEncryption other("not the settings password", kSettingsBufferSize);
        MemoryStream in(brand);
        MemoryStream out;
        ASSERT_TRUE(other.EncryptStream(in, out));
        wrongPassword = out.bytes();
    }
    std::string flippedData = good;
    flippedData[12] = static_cast<char>(flippedData[12] ^ 0x01);
    std::string flippedCode = good;
    flippedCode.back() = static_cast<char>(flippedCode.back() ^ 0x80);
    const std::vector<std::pair<const char*, std::string>> damaged = {
        {"wrong password", wrongPassword},
        {"changed data", flippedData},
        {"changed code", flippedCode},
        {"truncated", good.substr(0, good.size() - 1)},
        {"shorter than a header", good.substr(0, 19)},
        {"empty", ""},
    };
    for (const auto& [name, bytes] : damaged) {
        SCOPED_TRACE(name);
        test::WriteFileBytes(path(), bytes);
        EXPECT_FALSE(WriteLastNewsId(config(), Id("99")));
        EXPECT_EQ(test::ReadFileBytes(path()), bytes);
        EXPECT_EQ(entries(), QStringList{"dbsettings.dat"});
    }
}

}  // namespace
}  // namespace zolt
