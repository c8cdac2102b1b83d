#include "update/pagetext.h"

#include <benchmark/benchmark.h>

using namespace rainquill;

namespace {

// A page of 1 MiB, the most the version check reads, made of one part over and over.
QByteArray pageOf(const QByteArray &part, const QByteArray &start = {})
{
    QByteArray page = start;
    while (page.size() < (1 << 20))
        page += part;
    return page;
}

QByteArray attributesPage()
{
    QByteArray page = "<p ";
    for (int n = 0; page.size() < (1 << 20); ++n)
        page += "a" + QByteArray::number(n) + "=1 ";
    return page + ">x";
}

// The displayed text of the worst pages found: the page text must stay within 50 ms.
void BM_PageText(benchmark::State &state, const QByteArray &page)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(DisplayedText(page));
    state.SetBytesProcessed(state.iterations() * page.size());
}

BENCHMARK_CAPTURE(BM_PageText, entities, pageOf("&amp;&#x41;&bogus;"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PageText, closing_tags, pageOf("</div>"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PageText, links, pageOf("<a>"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PageText, nested_divs, pageOf("<div>"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PageText, wide_cells, pageOf("<td colspan=100000>x</td>", "<table><tr>"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PageText, attributes, attributesPage())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PageText, text, pageOf("build:2300 version:V2.3.0 url:http://x/ "))
    ->Unit(benchmark::kMillisecond);

} // namespace
