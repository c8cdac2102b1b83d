#include "benchtext.h"
#include "engine/markup.h"
#include "ui/frmmain.h"
#include "ui/widgets/codepane.h"
#include "ui/widgets/inputpane.h"

#include <QApplication>
#include <QTextBlock>
#include <QClipboard>
#include <QFile>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollBar>
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <unistd.h>

using namespace rainquill;

namespace {

// One main window in the mixed view, so that both panes show.
frmMain &window()
{
    static frmMain *main = [] {
        auto *w = new frmMain;
        w->show();
        w->findChild<QPushButton *>(QStringLiteral("OptAll"))->click();
        QApplication::processEvents();
        return w;
    }();
    return *main;
}

InputPane *inputPane()
{
    return window().findChild<InputPane *>(QStringLiteral("RTInput"));
}

void reportPeakMemory(benchmark::State &state)
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MB"] = double(usage.ru_maxrss) / 1024;
}

// The memory the program holds now, in MB.
double residentMB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toDouble() * double(sysconf(_SC_PAGESIZE)) / (1 << 20);
}

// From the click on "转换" until the window has painted.
void convert(benchmark::State &state, const QString &text)
{
    auto *go = window().findChild<QPushButton *>(QStringLiteral("CmdGo"));
    for (auto _ : state) {
        state.PauseTiming();
        inputPane()->replaceText(text);
        QApplication::processEvents();
        state.ResumeTiming();
        go->click();
        window().repaint();
    }
    reportPeakMemory(state);
}

void BM_Convert(benchmark::State &state)
{
    convert(state, benchtext::SampleText(state.range(0), 80));
}
BENCHMARK(BM_Convert)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_ConvertOneParagraph(benchmark::State &state)
{
    convert(state, benchtext::SampleText(state.range(0), 0));
}
BENCHMARK(BM_ConvertOneParagraph)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

// The largest conversion the window accepts: a text whose code just fits MaxCodeLength.
// Run alone (make bench does), peak_MB is the memory the program needs for it.
void BM_ConvertLargest(benchmark::State &state)
{
    const Template ubb = TemplateFor(OutputFormat::Ubb);
    const auto codeLength = [&](qsizetype length) {
        const QString text = benchtext::SampleText(length, 80);
        return CodeCharacterCount({text, {0, 121, 255}, {255, 0, 255}, 1, OutputFormat::Ubb, ubb});
    };
    qsizetype low = 1, high = MaxTextLength;
    while (low < high) { // the longest text whose code fits
        const qsizetype middle = (low + high + 1) / 2;
        if (codeLength(middle) <= MaxCodeLength)
            low = middle;
        else
            high = middle - 1;
    }
    convert(state, benchtext::SampleText(low, 80));
    state.counters["code_units"] = double(codeLength(low));
}
BENCHMARK(BM_ConvertLargest)->Unit(benchmark::kMillisecond)->Iterations(1);

// The memory held after twenty conversions of the same text, against one: a conversion
// keeps nothing of the one before it.
void BM_ConvertTwentyTimes(benchmark::State &state)
{
    const QString text = benchtext::SampleText(state.range(0), 80);
    auto *go = window().findChild<QPushButton *>(QStringLiteral("CmdGo"));
    for (auto _ : state) {
        inputPane()->replaceText(text);
        go->click();
        QApplication::processEvents();
        const double afterOne = residentMB();
        for (int n = 1; n < 20; ++n) {
            go->click();
            QApplication::processEvents();
        }
        state.counters["after_1_MB"] = afterOne;
        state.counters["after_20_MB"] = residentMB();
        state.counters["growth_%"] = 100 * (residentMB() - afterOne) / afterOne;
    }
}
BENCHMARK(BM_ConvertTwentyTimes)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);

// The floor: the text and a code-sized string merely shown in the two panes and painted.
void BM_ShowPlain(benchmark::State &state)
{
    const QString text = benchtext::SampleText(state.range(0), 80);
    const QString code = *GenerateCode({text, {0, 121, 255}, {255, 0, 255}, 1, OutputFormat::Ubb,
                                        TemplateFor(OutputFormat::Ubb)});
    auto *codePane = window().findChild<CodePane *>(QStringLiteral("TxtCode"));
    for (auto _ : state) {
        state.PauseTiming();
        inputPane()->replaceText(QString());
        codePane->setCode(QString());
        QApplication::processEvents();
        state.ResumeTiming();
        inputPane()->replaceText(text);
        codePane->setCode(code);
        window().repaint();
    }
}
BENCHMARK(BM_ShowPlain)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(10);

// One key typed in a pane that holds the text, at its start (0) or at its end (1); taken
// back with Backspace, untimed, so that every keystroke meets the same line.
void typeAndTakeBack(benchmark::State &state, const QString &text, bool atEnd)
{
    inputPane()->replaceText(text);
    inputPane()->moveCursor(atEnd ? QTextCursor::End : QTextCursor::Start);
    QApplication::processEvents();
    const auto press = [](Qt::Key key, const QString &typed) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, typed);
        QCoreApplication::sendEvent(inputPane(), &event);
    };
    for (auto _ : state) {
        press(Qt::Key_X, QStringLiteral("x"));
        state.PauseTiming();
        press(Qt::Key_Backspace, QString());
        state.ResumeTiming();
    }
}

void BM_TypeOneCharacter(benchmark::State &state)
{
    typeAndTakeBack(state, benchtext::SampleText(state.range(0), 80), state.range(1));
}
BENCHMARK(BM_TypeOneCharacter)->Args({100000, 0})->Args({100000, 1})->Args({1000000, 0})->Args({1000000, 1})->Unit(benchmark::kMicrosecond);

// The same at the start (0) or the end (1) of a text that is one paragraph.
void BM_TypeInParagraph(benchmark::State &state)
{
    typeAndTakeBack(state, benchtext::SampleText(state.range(0), 0), state.range(1));
}
BENCHMARK(BM_TypeInParagraph)->Args({1000000, 0})->Args({1000000, 1})->Unit(benchmark::kMicrosecond);

// A paste into the empty pane, until the window has painted.
void paste(benchmark::State &state, qsizetype lineLength)
{
    QGuiApplication::clipboard()->setText(benchtext::SampleText(state.range(0), lineLength));
    for (auto _ : state) {
        state.PauseTiming();
        inputPane()->replaceText(QString());
        QApplication::processEvents();
        state.ResumeTiming();
        inputPane()->paste();
        window().repaint();
    }
    state.counters["characters"] = double(inputPane()->characterCount());
    reportPeakMemory(state);
}

// Many short lines.
void BM_Paste(benchmark::State &state)
{
    paste(state, 40);
}
BENCHMARK(BM_Paste)->Arg(1000000)->Arg(8000000)->Unit(benchmark::kMillisecond)->Iterations(1);

// One paragraph.
void BM_PasteOneParagraph(benchmark::State &state)
{
    paste(state, 0);
}
BENCHMARK(BM_PasteOneParagraph)->Arg(8000000)->Unit(benchmark::kMillisecond)->Iterations(1);

// The code pane holding the code of BM_Convert/1000000's text.
CodePane *codePaneWithCode(qsizetype length)
{
    static QString code;
    static qsizetype made = -1;
    if (made != length) {
        code = *GenerateCode({benchtext::SampleText(length, 80), {0, 121, 255}, {255, 0, 255}, 1, OutputFormat::Ubb,
                              TemplateFor(OutputFormat::Ubb)});
        made = length;
    }
    auto *pane = window().findChild<CodePane *>(QStringLiteral("TxtCode"));
    pane->setCode(code);
    pane->setFocus();
    QApplication::processEvents();
    return pane;
}

void pressKey(QWidget *widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QCoreApplication::sendEvent(widget, &press);
}

// One page down, until the pane has painted; page after page from the code's start.
void BM_CodePanePageDown(benchmark::State &state)
{
    CodePane *pane = codePaneWithCode(state.range(0));
    for (auto _ : state) {
        pressKey(pane, Qt::Key_PageDown);
        pane->repaint();
    }
}
BENCHMARK(BM_CodePanePageDown)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The scroll bar taken to its end, which finds every row of the code once, until the pane
// has painted its last rows.
void BM_CodePaneAllRows(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        CodePane *pane = codePaneWithCode(state.range(0));
        state.ResumeTiming();
        QScrollBar *bar = pane->verticalScrollBar();
        bar->setValue(bar->maximum());
        pane->repaint();
    }
}
BENCHMARK(BM_CodePaneAllRows)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(5);

// Ctrl+A and Ctrl+C in the code pane, and the code read back from the clipboard.
void BM_CodePaneSelectAllCopy(benchmark::State &state)
{
    qsizetype copied = 0;
    for (auto _ : state) {
        state.PauseTiming();
        CodePane *pane = codePaneWithCode(state.range(0));
        QGuiApplication::clipboard()->clear();
        state.ResumeTiming();
        pressKey(pane, Qt::Key_A, Qt::ControlModifier);
        pressKey(pane, Qt::Key_C, Qt::ControlModifier);
        pane->repaint();
        copied = QGuiApplication::clipboard()->text().size();
    }
    state.counters["copied"] = double(copied);
}
BENCHMARK(BM_CodePaneSelectAllCopy)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace
