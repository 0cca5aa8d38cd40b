#pragma once

#include <QProcessEnvironment>
#include <QStringList>

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "branding/BrandSettings.h"
#include "tests/support/PhpServer.h"
#include "tests/support/TempDir.h"
#include "util/SettingsFileCrypt.h"

namespace zolt::test {

// The reference news server over php -S with a database of its own, seeded
// through its admin script as a reseller would.
class NewsSite {
  public:
    NewsSite() : dsn_("sqlite:" + dir_.file("news.db")) {
        Admin({"init"});
        Admin({"add-publisher", "PUBG", "Gold"});
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("ZOLT_NEWS_DSN", QString::fromStdString(dsn_));
        server_ = std::make_unique<PhpServer>(SourceDir() + "/server/news/public", "", env);
    }

    // admin.php's output, line ends removed (the new id for add-news).
    std::string Admin(const std::vector<std::string>& args, const std::string& input = "") {
        QStringList list{QString::fromStdString(SourceDir() + "/server/news/admin.php"),
                         QString::fromStdString("--dsn=" + dsn_)};
        for (const auto& a : args) {
            list << QString::fromStdString(a);
        }
        std::string out;
        EXPECT_EQ(RunPhp(list, &out, input), 0) << args[0] << ": " << out;
        while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) {
            out.pop_back();
        }
        return out;
    }
    std::string AddNews(const std::string& product, const std::string& title,
                        const std::string& html, const std::string& id = "") {
        std::vector<std::string> args{"add-news"};
        if (!id.empty()) {
            args.push_back("--id=" + id);
        }
        args.insert(args.end(), {"PUBG", product, title, "2026-12-08", "-"});
        return Admin(args, html);
    }

    // A Gold brand of `product` on this server.
    BrandSettingsRecord Brand(const std::string& product) const {
        BrandSettingsRecord brand;
        brand.BranderCode = product;
        brand.BranderType = "Gold";
        brand.GoldNewsBaseURL = server_->url("");
        brand.GoldPublID = "PUBG";
        return brand;
    }
    std::string log() { return server_->log(); }

  private:
    TempDir dir_;
    std::string dsn_;
    std::unique_ptr<PhpServer> server_;
};

// The settings text of `brand` as the settings file holds it.
inline std::string SettingsText(const BrandSettingsRecord& brand, const std::string& extra = "") {
    auto tag = [](const std::string& name, const std::string& value) {
        return "<%%" + name + "%%>" + value + "<%%/" + name + "%%>\r\n";
    };
    return tag("ApplicationName", "Notify Test") + tag("BranderCode", brand.BranderCode) +
           tag("BranderType", brand.BranderType) +
           tag("MasterNewsBaseURL", brand.MasterNewsBaseURL) +
           tag("GoldNewsBaseURL", brand.GoldNewsBaseURL) + tag("MasterPublID", brand.MasterPublID) +
           tag("GoldPublID", brand.GoldPublID) + extra;
}

inline void WriteSettings(const TempDir& dir, const std::string& plain) {
    dir.write("dbsettings.dat", EncryptSettingsBytes(plain));
}

// The decrypted settings text; fails the test when it does not decrypt cleanly.
inline std::string ReadSettings(const TempDir& dir) {
    std::string plain;
    EXPECT_TRUE(DecryptSettingsBytes(dir.read("dbsettings.dat"), plain));
    return plain;
}

}  // namespace zolt::test
