// What a page from a news server or a settings file can cost the GUI thread:
// laying out the worst page the HTML view still takes as HTML (tables and
// elements nested to their limits, as many as the layout work limit allows)
// against the largest plain page of paragraphs, the same tables with long
// words in their cells, and one long word, laid out as HTML or as plain
// text, against one paragraph of words of the same size.

#include <benchmark/benchmark.h>

#include <QTextDocument>

#include <string>

#include "toolkit/HtmlView.h"
#include "util/HtmlShape.h"
#include "util/Services.h"

namespace {

using namespace zolt;

std::string Repeat(const std::string& piece, std::size_t times) {
    std::string out;
    for (std::size_t i = 0; i < times; ++i) {
        out += piece;
    }
    return out;
}

const std::string kParagraph = "<p>Feeds, news and offers for your pages, every day.</p>";

// A paragraph of one word longer than a line, which the view breaks.
const std::string kLongWordParagraph = "<p>" + std::string(3 * kMaxHtmlRunChars / 2, 'x') + "</p>";

// Tables nested kMaxHtmlTableDepth deep, each cell holding the next table
// beside a paragraph, inside divs that take the element depth to its limit,
// repeated as often as the layout work limit allows.
std::string WorstPage(const std::string& paragraph = kParagraph) {
    std::string tables = paragraph;
    for (int i = 0; i < kMaxHtmlTableDepth; ++i) {
        tables =
            "<table border=1><tr><td>" + paragraph + "</td><td>" + tables + "</td></tr></table>";
    }
    const int divs = kMaxHtmlElementDepth - 3 * kMaxHtmlTableDepth - 1;
    const std::string block = Repeat("<div>", static_cast<std::size_t>(divs)) + tables +
                              Repeat("</div>", static_cast<std::size_t>(divs));
    return Repeat(block, kMaxHtmlLayoutWork / MeasureHtml(block).layoutWork);
}

// As many paragraphs as the same limit allows.
std::string PlainPage() {
    return Repeat(kParagraph, kMaxHtmlLayoutWork / MeasureHtml(kParagraph).layoutWork);
}

// One word as long as the layout work limit lets a page be: the view breaks
// it every kMaxHtmlRunChars characters.
std::string LongWordPage() {
    std::string page = "<p>" + std::string(kMaxHtmlLayoutWork, 'x') + "</p>";
    while (!IsHtmlSafeToLayOut(page)) {
        page.erase(3, page.size() / 64);
    }
    return page;
}

// One paragraph of words, about `size` bytes: a long block costs the layout
// more per byte than many short ones, whatever its words.
std::string ParagraphOfWords(std::size_t size) {
    const std::string sentence = "Feeds, news and offers for your pages, every day. ";
    return "<p>" + Repeat(sentence, size / sentence.size()) + "</p>";
}

// Beyond every limit, so shown as plain text (and cut to the page limit).
const std::string kTextLongWord = "<p>" + std::string(4 * kMaxHtmlPageBytes, 'x') + "</p>";

void LayOut(benchmark::State& state, const std::string& html) {
    Services services;
    for (auto _ : state) {
        HtmlView view(services);
        view.setHtmlSource(html);
        view.document()->setTextWidth(640);
        benchmark::DoNotOptimize(view.document()->size());
    }
}

void LayOutWithinLimits(benchmark::State& state, const std::string& html) {
    if (!IsHtmlSafeToLayOut(html)) {
        state.SkipWithError("page beyond the limits");
        return;
    }
    LayOut(state, html);
}

void BM_LayoutWorstPage(benchmark::State& state) {
    LayOutWithinLimits(state, WorstPage());
}
void BM_LayoutPlainPage(benchmark::State& state) {
    LayOutWithinLimits(state, PlainPage());
}
void BM_LayoutWorstPageOfLongWords(benchmark::State& state) {
    LayOutWithinLimits(state, WorstPage(kLongWordParagraph));
}
void BM_LayoutLongWord(benchmark::State& state) {
    LayOutWithinLimits(state, LongWordPage());
}
void BM_LayoutParagraphOfWords(benchmark::State& state) {
    LayOutWithinLimits(state, ParagraphOfWords(LongWordPage().size()));
}
void BM_TextLongWord(benchmark::State& state) {
    LayOut(state, kTextLongWord);
}
void BM_TextParagraphOfWords(benchmark::State& state) {
    LayOut(state, ParagraphOfWords(kTextLongWord.size()));
}

BENCHMARK(BM_LayoutWorstPage)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LayoutPlainPage)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LayoutWorstPageOfLongWords)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LayoutLongWord)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LayoutParagraphOfWords)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_TextLongWord)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_TextParagraphOfWords)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
