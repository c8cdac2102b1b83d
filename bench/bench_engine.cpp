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

} // namespace

