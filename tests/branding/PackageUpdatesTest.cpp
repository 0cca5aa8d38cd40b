#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "branding/PackageUpdates.h"
#include "tests/support/TempDir.h"

namespace zolt {
namespace {

// A package install tells the user where a newer version comes from: apt,
// when the package came with its brand's repository, else the brand's site.
TEST(PackageUpdates, TheMessageNamesWhereTheNewVersionComesFrom) {
    struct Row {
        bool marker;
        std::string helpUrl;
        std::string says;
    };
    const std::vector<Row> rows = {
        {true, "", "package manager installs it with the next update"},
        {false, " https://harbor.example/help ", "Download it from https://harbor.example/help "},
        {false, "mailto:help@harbor.example", "Download it from the site you got this"},
        {false, "javascript:alert(1)", "Download it from the site you got this"},
    };
    for (const Row& row : rows) {
        test::TempDir dir;
        if (row.marker) {
            dir.write(kRepositoryMarkerFile, "");
        }
        const std::string text =
            PackageUpdateText("2.02", ReadPackageUpdates(dir.path() + "/", row.helpUrl));
        EXPECT_EQ(text.rfind("A new version (2.02) of this application is available. ", 0), 0u);
        EXPECT_NE(text.find(row.says), std::string::npos) << text;
    }
}

}  // namespace
}  // namespace zolt
