// What a page from a news server or a settings file can cost the GUI thread:
// laying out the worst page the HTML view still takes as HTML (tables and
// elements nested to their limits, as many as the layout work limit allows)
// against the largest plain page of paragraphs.

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

// Tables nested kMaxHtmlTableDepth deep, each cell holding the next table
// beside a paragraph, inside divs that take the element depth to its limit,
// repeated as often as the layout work limit allows.
std::string WorstPage() {
    std::string tables = kParagraph;
    for (int i = 0; i < kMaxHtmlTableDepth; ++i) {
        tables =
            "<table border=1><tr><td>" + kParagraph + "</td><td>" + tables + "</td></tr></table>";
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

void LayOut(benchmark::State& state, const std::string& html) {
    if (!IsHtmlSafeToLayOut(html)) {
        state.SkipWithError("page beyond the limits");
        return;
    }
    Services services;
    for (auto _ : state) {
        HtmlView view(services);
        view.setHtmlSource(html);
        view.document()->setTextWidth(640);
        benchmark::DoNotOptimize(view.document()->size());
    }
}

void BM_LayoutWorstPage(benchmark::State& state) {
    LayOut(state, WorstPage());
}
void BM_LayoutPlainPage(benchmark::State& state) {
    LayOut(state, PlainPage());
}

BENCHMARK(BM_LayoutWorstPage)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LayoutPlainPage)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
