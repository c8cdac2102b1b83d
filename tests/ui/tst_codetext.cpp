#include "ui/widgets/codetext.h"
#include "uitest.h"

#include <QRandomGenerator>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>

using namespace rainquill;

namespace {

// Advances that are easy to count: 😀 is three units, another character outside the basic
// plane or a CJK one two, any other one.
qreal units(char32_t point)
{
    return point == U'😀' ? 3 : point >= 0x2E80 ? 2 : 1;
}

CodeText model(const QString &text, qreal width)
{
    CodeText code;
    code.setAdvance(units);
    code.setWidth(width);
    code.setText(text);
    return code;
}

QStringList rows(const CodeText &code)
{
    QStringList rows;
    for (qsizetype row = 0; code.hasRow(row); ++row)
        rows.append(code.text().mid(code.rowStart(row), code.rowEnd(row) - code.rowStart(row)));
    return rows;
}

// A code of tags, words, CJK, emoji, accents and every kind of line break.
QString randomCode(QRandomGenerator &random, qsizetype pieces)
{
    const QStringList parts = {"[color=#0079FF]", "[/color]", "渐", "word", " ", "  ", "\r\n", "\r", "\n",
                               "\u2028", "\u2029", "😀", "e\u0301", "<font color=#FF0000>", "，", "x"};
    QString code;
    for (qsizetype n = 0; n < pieces; ++n)
        code += parts[random.bounded(int(parts.size()))];
    return code;
}

} // namespace

// The code pane's model: rows at a width, lines, the reader's positions and the steps a
// text box takes, without a widget.
class TestCodeText : public QObject
{
    Q_OBJECT

private slots:
    void rowsBreakAtTheEdge_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qreal>("width");
        QTest::addColumn<QString>("rows"); // separated by |
        QTest::newRow("fits") << "abc" << 3.0 << "abc";
        QTest::newRow("one past the edge") << "abcd" << 3.0 << "abc|d";
        QTest::newRow("after the last space that fits") << "aaa bbb ccc" << 6.0 << "aaa |bbb |ccc";
        QTest::newRow("spaces hang past the edge") << "ab   cd" << 3.0 << "ab   |cd";
        QTest::newRow("a word longer than the row") << "abcdefghij" << 4.0 << "abcd|efgh|ij";
        QTest::newRow("between tags, never inside a colour")
            << "[color=#0079FF]渐[/color][color=#0179FF]变[/color]" << 20.0
            << "[color=#0079FF]渐[/|color]|[color=#0179FF]变[/|color]";
        QTest::newRow("after a solidus, not before a tag after a letter")
            << "[color=#0079FF]G[/color] " << 20.0 << "[color=#0079FF]G[/|color] ";
        QTest::newRow("between CJK characters") << "渐变文字" << 5.0 << "渐变|文字";
        QTest::newRow("no row starts with a closing comma") << "渐变，文字" << 4.0 << "渐|变，|文字";
        QTest::newRow("a surrogate pair at a row's end") << "abc😀d" << 6.0 << "abc😀|d";
        QTest::newRow("a surrogate pair past a row's end") << "abc😀d" << 5.0 << "abc|😀d";
        QTest::newRow("a pair wider than the row") << "😀😀" << 1.0 << "😀|😀";
        QTest::newRow("each pair its own advance") << "a😀👍b" << 5.0 << "a😀|👍b";
        QTest::newRow("a CJK compatibility ideograph") << "ab\uF900cd" << 5.0 << "ab\uF900|cd";
        QTest::newRow("an accent stays with its letter") << "abce\u0301f" << 4.0 << "abce\u0301|f";
        QTest::newRow("an accent takes no room") << "abe\u0301f" << 4.0 << "abe\u0301f";
        QTest::newRow("every kind of break") << "ab\r\ncd\ref\ngh\u2028ij\u2029kl" << 10.0 << "ab|cd|ef|gh|ij|kl";
        QTest::newRow("LF CR is two breaks") << "ab\n\rcd" << 10.0 << "ab||cd";
        QTest::newRow("a break at the end") << "ab\r\n" << 10.0 << "ab|";
        QTest::newRow("a break just at the edge") << "abc\r\nd" << 3.0 << "abc|d";
        QTest::newRow("empty") << "" << 10.0 << "";
    }

    void rowsBreakAtTheEdge()
    {
        QFETCH(QString, text);
        QFETCH(qreal, width);
        QFETCH(QString, rows);
        const CodeText code = model(text, width);
        QCOMPARE(::rows(code).join(u'|'), rows);
        QCOMPARE(code.rowCount(), rows.count(u'|') + 1);
        QCOMPARE(code.estimatedRowCount(), rows.count(u'|') + 1);
    }

    // A new font's advances replace the old ones, a pair's too.
    void newAdvances()
    {
        CodeText code = model(QStringLiteral("😀😀"), 3);
        QCOMPARE(rows(code).join(u'|'), QStringLiteral("😀|😀"));
        code.setAdvance([](char32_t) { return 1.0; });
        QCOMPARE(rows(code).join(u'|'), QStringLiteral("😀😀"));
    }

    // A line of millions of characters: its rows at their places, the scroll bar's estimate
    // right before the rows are all found, and the row of an offset near the end.
    void longLine_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qreal>("width");
        QTest::addColumn<qsizetype>("rowLength");
        QTest::newRow("letters") << QString(3'000'000, u'a') << 100.0 << qsizetype(100);
        QTest::newRow("words") << QStringLiteral("abcdefghi ").repeated(300'000) << 105.0 << qsizetype(100);
        QTest::newRow("CJK") << QStringLiteral("渐变").repeated(1'500'000) << 101.0 << qsizetype(50);
    }

    void longLine()
    {
        QFETCH(QString, text);
        QFETCH(qreal, width);
        QFETCH(qsizetype, rowLength);
        const CodeText code = model(text, width);
        const qsizetype rows = text.size() / rowLength;
        QCOMPARE(code.rowOf(12'345), 12'345 / rowLength);
        QCOMPARE(code.estimatedRowCount(), rows);
        QCOMPARE(code.rowOf(text.size() - 1), rows - 1);
        QCOMPARE(code.rowCount(), rows);
        for (const qsizetype row : {qsizetype(0), qsizetype(1), rows / 2, rows - 1}) {
            QCOMPARE(code.rowStart(row), row * rowLength);
            QCOMPARE(code.rowEnd(row), (row + 1) * rowLength);
        }
    }

    // Random codes: rows found a few at a time, in any order of asking, are the rows found
    // at once; no row but one of a single character passes the width; and the reader's text
    // and positions are those of a plain recount.
    void randomCodes_data()
    {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed = 1; seed <= 12; ++seed)
            QTest::addRow("seed %u", seed) << seed;
    }

    void randomCodes()
    {
        QFETCH(quint32, seed);
        QRandomGenerator random(seed);
        const QString text = randomCode(random, 3000);
        const qreal width = 3 + random.bounded(60);
        const CodeText whole = model(text, width);
        const CodeText asked = model(text, width);
        for (int n = 0; n < 50; ++n) {
            if (n % 2)
                asked.rowOf(random.bounded(int(text.size()) + 1));
            else
                asked.hasRow(random.bounded(int(text.size())));
        }
        QCOMPARE(rows(asked), rows(whole));
        for (qsizetype row = 0; whole.hasRow(row); ++row) {
            qsizetype end = whole.rowEnd(row);
            while (end > whole.rowStart(row) + 1 && text[end - 1] == u' ')
                --end; // hanging
            const QString shown = text.mid(whole.rowStart(row), end - whole.rowStart(row));
            qreal x = 0;
            for (const char32_t point : shown.toUcs4())
                x += QChar::isMark(point) ? 0 : units(point);
            QVERIFY2(x <= width || shown.size() <= 2, qPrintable(QString::number(width) + u' ' + shown));
        }
        const QString expected = uitest::plain(text); // what a reader is told, found the plain way
        const CodeText code = model(text, width); // its lines found as the reader asks
        QCOMPARE(code.readerLength(), expected.size());
        QCOMPARE(code.readerText(0, expected.size()), expected);
        qsizetype reader = 0;
        for (qsizetype offset = 0; offset <= text.size(); ++offset) {
            if (offset > 0 && text[offset - 1] == u'\r' && offset < text.size() && text[offset] == u'\n')
                continue; // inside a CR LF
            QCOMPARE(code.toReader(offset), reader);
            QCOMPARE(code.fromReader(reader), offset);
            ++reader;
        }
        for (int n = 0; n < 50; ++n) {
            const int from = random.bounded(int(expected.size()) + 1);
            const int to = from + random.bounded(int(expected.size()) - from + 1);
            QCOMPARE(code.readerText(from, to), expected.mid(from, to - from));
        }
    }

    // Each line's start and end before its break, and where the next line starts.
    void lines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("lines"); // start-end of each
        QTest::newRow("every break") << "a\r\nb\rc\nd\u2028e\u2029f" << "0-1 3-4 5-6 7-8 9-10 11-12";
        QTest::newRow("breaks only") << "\r\n\r\n" << "0-0 2-2 4-4";
        QTest::newRow("none") << "abc" << "0-3";
    }

    void lines()
    {
        QFETCH(QString, text);
        QFETCH(QString, lines);
        const CodeText code = model(text, 100);
        QStringList found;
        for (qsizetype line = 0; line < code.lineCount(); ++line) {
            found.append(QStringLiteral("%1-%2").arg(code.lineStart(line)).arg(code.lineEnd(line)));
            QCOMPARE(code.lineNext(line), line + 1 < code.lineCount() ? code.lineStart(line + 1) : text.size());
            QCOMPARE(code.lineOf(code.lineEnd(line)), line);
        }
        QCOMPARE(found.join(u' '), lines);
    }

    // Characters and words at every place, as a stock text box holding the code takes them.
    void stepsAsATextBox_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("UBB code")
            << "[color=#0079FF]渐[/color][color=#0179FF] [/color]\r\n[color=#0279FF]a b[/color]\r\n\r\nxyz";
        QTest::newRow("html code") << "<font color=#FF0000>Go</font>&nbsp;<br>\r\n<font color=#00FF00>!</font>";
        QTest::newRow("clusters") << "a😀b👍🏽c\u200dd e\u0301 🇨🇳\r\n\rx\ny";
        QTest::newRow("a line longer than the stretch looked at")
            << QStringLiteral("[color=#0079FF]word[/color] ").repeated(300);
    }

    void stepsAsATextBox()
    {
        QFETCH(QString, text);
        const CodeText code = model(text, 25);
        QTextDocument stock;
        stock.setPlainText(text);
        const auto stockMove = [&](qsizetype offset, QTextCursor::MoveOperation operation) {
            QTextCursor cursor(&stock);
            cursor.setPosition(int(code.toReader(offset)));
            cursor.movePosition(operation);
            return code.fromReader(cursor.position());
        };
        for (qsizetype offset = 0; offset <= text.size(); offset = code.nextCharacter(offset)) {
            QCOMPARE(code.nextCharacter(offset), stockMove(offset, QTextCursor::NextCharacter));
            QCOMPARE(code.previousCharacter(offset), stockMove(offset, QTextCursor::PreviousCharacter));
            QCOMPARE(code.nextWord(offset), stockMove(offset, QTextCursor::NextWord));
            QCOMPARE(code.previousWord(offset), stockMove(offset, QTextCursor::PreviousWord));
            QTextCursor word(&stock);
            word.setPosition(int(code.toReader(offset)));
            word.select(QTextCursor::WordUnderCursor);
            QCOMPARE(code.wordAt(offset),
                     std::make_pair(code.fromReader(word.anchor()), code.fromReader(word.position())));
            if (offset == text.size())
                break;
        }
    }
};

QTEST_MAIN(TestCodeText)
#include "tst_codetext.moc"
