#include "toolkit/HtmlView.h"

#include <QDir>
#include <QImage>
#include <QTextDocument>
#include <QUrl>

#include <sys/stat.h>

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/RecordingServices.h"
#include "tests/support/TempDir.h"
#include "util/HtmlShape.h"

namespace zolt {
namespace {

struct View {
    std::shared_ptr<test::Recorder> recorder = std::make_shared<test::Recorder>();
    Services services = test::MakeRecordingServices(recorder, "/tmp");
    HtmlView view{services};

    // The page's height once laid out, which is when images are loaded.
    qreal laidOutHeight(const std::string& html) {
        view.setHtmlSource(html);
        view.document()->setTextWidth(400);
        return view.document()->size().height();
    }
};

#ifndef _WIN32  // POSIX links, permissions and devices
TEST(HtmlView, PagesNeverReadFilesDevicesOrPipes) {
    test::TempDir dir;
    QImage picture(300, 400, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(QString::fromStdString(dir.file("big.png"))));
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
    dir.write("sheet.css", "p { margin-top: 900px; }");
    const QString oldCurrent = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(dir.path())));

    View v;
    const qreal plain = v.laidOutHeight("<p>x</p>");
    for (const std::string& src :
         {dir.file("big.png"), "file://" + dir.file("big.png"), std::string("big.png"),
          std::string("/dev/zero"), std::string("fifo"), dir.file("fifo")}) {
        // Without the placeholder each of these reads the name: a picture
        // shown, a process that grows without end, a start that hangs.
        EXPECT_LT(v.laidOutHeight("<p>x</p><img src=\"" + src + "\">"), plain + 50) << src;
    }
    EXPECT_LT(v.laidOutHeight("<link rel=stylesheet href=\"sheet.css\"><p>x</p>"), plain + 50);
    EXPECT_LT(v.laidOutHeight("<p style=\"background-image: url(big.png)\">x</p>"), plain + 50);
    QDir::setCurrent(oldCurrent);
}
#endif

TEST(HtmlView, PagesTooDeepOrTooLargeAreShownAsText) {
    auto nested = [](int depth) {
        std::string html;
        for (int i = 0; i < depth; ++i) {
            html = "<table><tr><td>" + html + "</td></tr></table>";
        }
        return "<p>Hello &amp; welcome</p>" + html;
    };
    View v;
    v.view.setHtmlSource(nested(kMaxHtmlTableDepth));
    EXPECT_NE(v.view.toHtml().indexOf("<table"), -1);
    v.view.setHtmlSource(nested(20));
    EXPECT_EQ(v.view.toHtml().indexOf("<table"), -1);
    EXPECT_EQ(v.view.toPlainText(), "Hello & welcome");
    // The page as given stays what the view holds.
    EXPECT_EQ(v.view.htmlSource(), nested(20));
}

TEST(HtmlView, OnlyAbsoluteWebLinksReachTheBrowser) {
    View v;
    v.recorder->programs = {{"x-www-browser", "/usr/bin/x-www-browser"}};
    for (const char* link : {"page.html", "/etc/passwd", "javascript:x()", "http://example.com/"}) {
        emit v.view.anchorClicked(QUrl(link));
    }
    ASSERT_EQ(v.recorder->processes.size(), 1u);
    EXPECT_EQ(v.recorder->processes[0].args, std::vector<std::string>{"http://example.com/"});
}

}  // namespace
}  // namespace zolt
