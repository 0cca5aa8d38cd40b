// The page the view lays out against what the check measured: the page
// written anew from any input must read back as itself with the same
// measures, and the document that the view's own reader builds from it
// (QTextDocument, before any layout) must hold no deeper tables, no longer
// run and no more text than the check counted.

#include <QGuiApplication>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "util/HtmlShape.h"
#include "util/Text.h"

using namespace zolt;

namespace {

int TableDepth(QTextFrame* frame) {
    int deepest = 0;
    for (QTextFrame* child : frame->childFrames()) {
        deepest = std::max(deepest, TableDepth(child));
    }
    return deepest + (qobject_cast<QTextTable*>(frame) != nullptr ? 1 : 0);
}

int TablesAround(const QTextBlock& block, QTextDocument& document) {
    int tables = 0;
    for (QTextFrame* frame = document.frameAt(block.position()); frame != nullptr;
         frame = frame->parentFrame()) {
        tables += qobject_cast<QTextTable*>(frame) != nullptr ? 1 : 0;
    }
    return tables;
}

// A break opportunity for the layout: a blank, a line or paragraph
// separator, a zero-width break. A no-break space is none.
bool Breaks(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\f' || c == QChar::LineSeparator ||
           c == QChar::ParagraphSeparator || c == QChar(0x200B);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input = fuzz::Bytes(data, size);
    const HtmlPage page = RewriteHtml(input);
    if (!IsHtmlWithinLimits(page.shape, input.size())) {
        FUZZ_CHECK(page.html.empty());
        return 0;
    }
    FUZZ_CHECK(IsValidUtf8(page.html));
    FUZZ_CHECK(page.shape.longestRun <= kMaxHtmlRunChars);

    // Read back, the page is itself: nothing in it reads otherwise.
    const HtmlPage again = RewriteHtml(page.html);
    FUZZ_CHECK(again.html == page.html);
    FUZZ_CHECK(again.shape == page.shape);

    // What the view's reader makes of it.
    QTextDocument document;
    document.setHtml(ToQString(page.html));
    FUZZ_CHECK(TableDepth(document.rootFrame()) <= page.shape.tableDepth);
    std::uint64_t work = 0;
    std::size_t longest = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        std::size_t run = 0;
        std::uint64_t characters = 0;
        for (const QChar c : text) {
            if (c.isLowSurrogate()) {
                continue;  // counted with its high half: the check counts code points
            }
            ++characters;
            run = Breaks(c) ? 0 : run + 1;
            longest = std::max(longest, run);
        }
        work += characters << TablesAround(block, document);
    }
    FUZZ_CHECK(longest <= page.shape.longestRun);
    FUZZ_CHECK(work <= page.shape.layoutWork);
    return 0;
}
