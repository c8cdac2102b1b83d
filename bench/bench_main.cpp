#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <string_view>

namespace {

// The targets, each a benchmark's CPU time against another's in the same run.
struct Ratio
{
    const char *what;
    const char *of;
    double most;
};

constexpr Ratio Targets[] = {
    {"BM_GenerateCode/1000000", "BM_CopyOutputBytes/1000000", 2.3},
    {"BM_GenerateCodeEmoji/1000000", "BM_GenerateCode/1000000", 3},
    {"BM_Convert/1000000/iterations:10", "BM_GenerateCode/1000000", 3},
    {"BM_Convert/100000/iterations:10", "BM_ShowPlain/100000/iterations:10", 2},
    {"BM_Paste/8000000/iterations:1", "BM_GenerateCode/1000000", 30},
    {"BM_PasteOneParagraph/8000000/iterations:1", "BM_Paste/8000000/iterations:1", 3},
    {"BM_TypeOneCharacter/1000000/0", "BM_TypeOneCharacter/100000/0", 20},
    {"BM_TypeOneCharacter/1000000/1", "BM_TypeOneCharacter/100000/1", 20},
    {"BM_TypeInParagraph/1000000/0", "BM_GenerateCode/100000", 30},
    {"BM_TypeInParagraph/1000000/1", "BM_GenerateCode/100000", 30},
    {"BM_CodePanePageDown/1000000", "BM_GenerateCode/1000000", 3},
    {"BM_CodePaneAllRows/1000000/iterations:5", "BM_GenerateCode/1000000", 3},
    {"BM_CodePaneSelectAllCopy/1000000/iterations:10", "BM_CopyOutputBytes/1000000", 3},
};

// The console's report, then every target whose two benchmarks ran, with its ratio.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs)
            m_cpu[run.benchmark_name()] = run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        bool header = false;
        for (const Ratio &ratio : Targets) {
            const auto what = m_cpu.find(ratio.what), of = m_cpu.find(ratio.of);
            if (what == m_cpu.end() || of == m_cpu.end() || of->second <= 0)
                continue;
            if (!std::exchange(header, true))
                std::printf("\nRatios of CPU time in this run (target: at most)\n");
            const double value = what->second / of->second;
            std::printf("%-44s / %-36s %7.2f  (%g) %s\n", ratio.what, ratio.of, value, ratio.most,
                        value <= ratio.most ? "ok" : "OVER");
        }
    }

private:
    std::map<std::string, double> m_cpu; // seconds
};

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The ratios follow the console's report; another format (json for scripts) goes as
    // the library writes it.
    bool console = true;
    for (int n = 1; n < argc; ++n)
        console = console && !std::string_view(argv[n]).starts_with("--benchmark_format=");
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    if (console)
        benchmark::RunSpecifiedBenchmarks(&reporter);
    else
        benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
