#include "benchtext.h"
#include "engine/markup.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

using namespace rainquill;

namespace {

CodeRequest ubbRequest(const QString &text)
{
    return {text, {0, 121, 255}, {255, 0, 255}, 1, OutputFormat::Ubb, TemplateFor(OutputFormat::Ubb)};
}

void BM_GenerateCode(benchmark::State &state)
{
    const QString text = benchtext::SampleText(state.range(0), 80);
    const CodeRequest request = ubbRequest(text);
    for (auto _ : state) {
        std::optional<QString> code = GenerateCode(request);
        benchmark::DoNotOptimize(code->data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_GenerateCode)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The same with a third of the characters made of several code points.
void BM_GenerateCodeEmoji(benchmark::State &state)
{
    const QString text = benchtext::EmojiText(state.range(0));
    const CodeRequest request = ubbRequest(text);
    for (auto _ : state) {
        std::optional<QString> code = GenerateCode(request);
        benchmark::DoNotOptimize(code->data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_GenerateCodeEmoji)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The floor: as many bytes as the code has, copied into freshly allocated memory.
void BM_CopyOutputBytes(benchmark::State &state)
{
    const QString code = GenerateCode(ubbRequest(benchtext::SampleText(state.range(0), 80))).value();
    const size_t bytes = size_t(code.size()) * sizeof(QChar);
    for (auto _ : state) {
        std::unique_ptr<char[]> copy(new char[bytes]);
        std::memcpy(copy.get(), code.constData(), bytes);
        benchmark::DoNotOptimize(copy.get());
    }
    state.SetBytesProcessed(state.iterations() * qint64(bytes));
}
BENCHMARK(BM_CopyOutputBytes)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The converter's --fit at its worst: a 100 KB template, a 1 MB text, and every step from
// 1 to 100 measured (no step fits). Must stay under 2 s.
void BM_FitEveryStep(benchmark::State &state)
{
    const QString text = benchtext::SampleText(1000000, 80);
    CodeRequest request = ubbRequest(text);
    request.format = OutputFormat::Custom;
    request.tpl = {QString(100000, u'x'), QStringLiteral("]"), QStringLiteral("[/]")};
    for (auto _ : state) {
        for (int step = 1; step <= 100; ++step) {
            request.stepValue = step;
            benchmark::DoNotOptimize(CodeCharacterCount(request));
        }
    }
}
BENCHMARK(BM_FitEveryStep)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

