#include "toolkit/HtmlView.h"

#include <QDir>
#include <QImage>
#include <QTextDocument>
#include <QUrl>

#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/RecordingServices.h"
#include "tests/support/TempDir.h"
#include "util/HtmlShape.h"

namespace zolt {
namespace {

struct View {
    std::shared_ptr<test::Recorder> recorder = std::make_shared<test::Recorder>();
    Services services = test::MakeRecordingServices(recorder);
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
    // Markup the check read as an attribute value never reaches the layout.
    v.view.setHtmlSource("<p =\"x>" + nested(20) + "\">end</p>");
    EXPECT_EQ(v.view.toHtml().indexOf("<table"), -1);
    EXPECT_EQ(v.view.toPlainText(), "end");
}

// The longest run without a break opportunity (a no-break space is none) in
// a document's text, where frames (table cells) have markers of their own.
qsizetype LongestRun(const QString& text) {
    qsizetype longest = 0;
    qsizetype run = 0;
    for (const QChar c : text) {
        run = QString(" \n\t\u2029\u2028\u200B\uFDD0\uFDD1").contains(c) ? 0 : run + 1;
        longest = std::max(longest, run);
    }
    return longest;
}

TEST(HtmlView, NoLongRunReachesTheLayout) {
    const std::string word(5000, 'x');
    const std::vector<std::pair<const char*, std::string>> pages = {
        {"a word", "<p>" + word},
        {"across inline tags", "<p><b>" + word + "</b><i>" + word + "</i><a href=x>" + word},
        {"of references", "<p>" + QByteArray("&#120;&amp;&nbsp;").repeated(2000).toStdString()},
        {"of Windows-1252 letters", "<p>" + std::string(3000, '\xA0')},
        {"in a table cell", "<table><tr><td>" + word},
        {"around a script",
         "<p>" + word.substr(0, 150) + "<script>" + word.substr(0, 60) + "</script>" + word},
        {"in pre and title", "<title>" + word + "</title><pre>" + word},
        {"as plain text", QByteArray("<table><tr><td>").repeated(20).toStdString() + word},
        {"too large for a page", std::string(kMaxHtmlPageBytes + 1, 'x')},
    };
    View v;
    for (const auto& [what, html] : pages) {
        v.view.setHtmlSource(html);
        const QString shown = v.view.document()->toRawText();
        EXPECT_GT(shown.size(), 1000) << what;
        EXPECT_LE(LongestRun(shown), static_cast<qsizetype>(kMaxHtmlRunChars)) << what;
    }
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
