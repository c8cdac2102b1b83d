#include "engine/textgroups.h"
#include "ui/widgets/panecount.h"
#include "ui/widgets/panedocument.h"
#include "ui/widgets/paneoffsets.h"

#include <QRandomGenerator>
#include <QGuiApplication>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

using namespace rainquill;

namespace {

constexpr qsizetype P = PaneDocument::PieceLength;

// Words of three letters and a space: a line may break every four units.
QString words(qsizetype length)
{
    return QStringLiteral("abc ").repeated(length / 4 + 1).left(length);
}

// Each block's text, with a "+" before a piece that goes on with the paragraph before it.
QStringList blocksOf(const QTextDocument &document)
{
    QStringList blocks;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        blocks.append((PaneDocument::continuesParagraph(block) ? "+" : "") + block.text());
    return blocks;
}

} // namespace

// The input pane's model, apart from any widget: where a paragraph is cut into pieces, how
// a text is stored, the character count kept through edits and the offsets a screen reader
// is given.
class TestPaneModel : public QObject
{
    Q_OBJECT

private slots:
    void pieceCuts_data()
    {
        QTest::addColumn<QString>("paragraph");
        QTest::addColumn<qsizetype>("before");
        QTest::addColumn<QList<qsizetype>>("cuts");
        using Cuts = QList<qsizetype>;
        const qsizetype none = 0; // nothing before the paragraph in its block
        QTest::newRow("a piece less one") << words(P - 1) << none << Cuts{};
        QTest::newRow("a piece") << words(P) << none << Cuts{};
        QTest::newRow("a piece and one") << words(P + 1) << none << Cuts{};
        QTest::newRow("two pieces less one") << words(2 * P - 1) << none << Cuts{};
        QTest::newRow("two pieces") << words(2 * P) << none << Cuts{P};
        QTest::newRow("two pieces and one") << words(2 * P + 1) << none << Cuts{P};
        QTest::newRow("five pieces") << words(5 * P) << none << Cuts{P, 2 * P, 3 * P, 4 * P};
        // The cut goes on to the next place a line may break, never into a word.
        QTest::newRow("a word across the piece length")
            << QString(P - 2, u'x') + " abcdef " + words(P) << none << Cuts{P + 6};
        QTest::newRow("after units already in the block") << words(2 * P + 10) << qsizetype(10) << Cuts{P - 8};
        QTest::newRow("after a whole piece already in the block") << " " + words(P) << P << Cuts{1};
        QTest::newRow("between two Chinese characters")
            << QStringLiteral("渐变文字").repeated(P / 2 + 1) << none << Cuts{P};
        // Where no line may break for a whole piece, between two characters.
        QTest::newRow("no place to break") << QString(2 * P + 5, u'a') << none << Cuts{P + 5};
        QTest::newRow("a cluster across the cut")
            << QString(P + 4, u'a') + QStringLiteral("e\u0301") + QString(P - 1, u'a') << none << Cuts{P + 4};
        QTest::newRow("a surrogate pair across the cut")
            << QString(P + 4, u'a') + QStringLiteral("\U0001D400") + QString(P - 1, u'a') << none
            << Cuts{P + 4};
        QTest::newRow("CJK next to a line separator")
            << QString(P - 1, u'x') + QChar(QChar::LineSeparator) + QString(P + 8, u'y') << none
            << Cuts{P + 8};
    }

    void pieceCuts()
    {
        QFETCH(QString, paragraph);
        QFETCH(qsizetype, before);
        QFETCH(QList<qsizetype>, cuts);
        QCOMPARE(PaneDocument::pieceCuts(paragraph, before), cuts);
    }

    // A text written into a document: a block a paragraph, as the stock widget holds it;
    // pieces only past twice the piece length; the text reads back with CR LF.
    void write_data()
    {
        QTest::addColumn<QStringList>("writes"); // one write, cut into runs of formats
        QTest::addColumn<QStringList>("blocks");
        QTest::addColumn<QString>("readBack");
        const QString ls(QChar::LineSeparator);
        QTest::newRow("every kind of break") << QStringList{QStringLiteral("a\r\nb\rc\nd\u2029e\u2028f")}
                                             << QStringList{"a", "b", "c", "d", "e" + ls + "f"}
                                             << QStringLiteral("a\r\nb\r\nc\r\nd\r\ne\r\nf");
        QTest::newRow("breaks at the ends") << QStringList{"\n\r\n"} << QStringList{"", "", ""} << "\r\n\r\n";
        QTest::newRow("CR LF across two runs") << QStringList{"a\r", "\nb"} << QStringList{"a", "b"} << "a\r\nb";
        QTest::newRow("CR, then a run of LF alone") << QStringList{"a\r", "\n", "\n"} << QStringList{"a", "", ""}
                                                    << "a\r\n\r\n";
        QTest::newRow("a paragraph of two pieces") << QStringList{words(2 * P + 1)}
                                                   << QStringList{words(P), "+" + words(P + 1)} << words(2 * P + 1);
        QTest::newRow("pieces cut across runs")
            << QStringList{words(2 * P + 4).left(P - 2), words(2 * P + 4).mid(P - 2) + "\n"}
            << QStringList{words(P), "+" + words(2 * P + 4).mid(P), ""} << words(2 * P + 4) + "\r\n";
    }

    void write()
    {
        QFETCH(QStringList, writes);
        QFETCH(QStringList, blocks);
        QFETCH(QString, readBack);
        QTextDocument document;
        QList<PaneDocument::FormatRun> runs;
        const QString text = writes.join(QString());
        qsizetype end = 0;
        for (const QString &write : writes) {
            QTextCharFormat format;
            format.setForeground(QColor::fromHsv(int(runs.size()) * 40, 255, 255));
            runs.append({end += write.size(), format});
        }
        const QTextCursor after = PaneDocument::write(QTextCursor(&document), text, runs);
        QCOMPARE(blocksOf(document), blocks);
        QCOMPARE(PaneDocument::text(&document), readBack);
        QCOMPARE(after.position(), document.characterCount() - 1);
        // Each run keeps its colour: the last character is in the last run's.
        QTextCursor last(&document);
        last.movePosition(QTextCursor::End);
        if (!writes.last().endsWith(u'\n'))
            QCOMPARE(last.charFormat().foreground(), runs.last().format.foreground());
    }

    // Written into a piece, the new paragraphs are paragraphs of their own and the pieces
    // of the text written stay pieces.
    void writeIntoAPiece()
    {
        QTextDocument document;
        PaneDocument::write(QTextCursor(&document), words(3 * P));
        QTextCursor cursor(document.findBlockByNumber(1));
        cursor.movePosition(QTextCursor::NextCharacter);
        PaneDocument::write(cursor, "x\ny\n" + words(2 * P));
        const QStringList pieces = {words(P), "+ax", "y", words(P), "+" + words(P) + words(P).mid(1), "+" + words(P)};
        QCOMPARE(blocksOf(document), pieces);
        const QString expected = words(3 * P).insert(P + 1, "x\r\ny\r\n" + words(2 * P));
        QCOMPARE(PaneDocument::text(&document), expected);
    }

    // Random edits of every kind, the count and the offsets checked after each against a
    // plain recount of the text.
    void countThroughEdits_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<quint32>("seed");
        QTest::newRow("empty") << QString() << 1u;
        QTest::newRow("short lines") << QStringLiteral("渐变 text\r\n").repeated(200) << 2u;
        QTest::newRow("a paragraph in pieces") << words(3 * P + 7) << 3u;
        QTest::newRow("clusters across pieces")
            << QString(P + 4, u'a') + QStringLiteral("e\u0301👍🏽🇨🇳") + QString(P + 3, u'b') << 4u;
        QTest::newRow("every kind of break") << QStringLiteral("a\rb\nc\r\nd\u2028e\u2029f").repeated(50) << 5u;
    }

    void countThroughEdits()
    {
        QFETCH(QString, start);
        QFETCH(quint32, seed);
        QTextDocument document;
        PaneDocument::write(QTextCursor(&document), start);
        PaneDocument::attachLayout(&document); // a document tells its changes once it has one
        PaneCount count(&document);
        PaneOffsets offsets(&document);
        QRandomGenerator random(seed);
        const QStringList inserts = {"x",  "\u0301", "👍", "🏽", "\r\n", "\u2028", "\n\n", "🇨", "🇳", "\u200D",
                                     "渐变", words(2 * P + 3), "e\u0301 "};
        for (int edit = 0; edit < 60; ++edit) {
            const int size = document.characterCount() - 1;
            QTextCursor cursor(&document);
            cursor.setPosition(int(random.bounded(size + 1)));
            switch (random.bounded(4)) {
            case 0:
                PaneDocument::write(cursor, inserts[random.bounded(int(inserts.size()))]);
                break;
            case 1:
                cursor.setPosition(qMin(size, cursor.position() + int(random.bounded(40))), QTextCursor::KeepAnchor);
                cursor.removeSelectedText();
                break;
            case 2:
                cursor.insertBlock(PaneDocument::blockFormat(false));
                break;
            default:
                cursor.insertText(inserts[random.bounded(4)]);
                break;
            }
            if (random.bounded(3) != 0) // counted after several edits too
                continue;
            const QString text = PaneDocument::text(&document);
            QCOMPARE(count.count(), CharacterCount(text));
            const QString read = PaneDocument::text(&document, 0, -1, u"\n"); // as a screen reader reads it
            QCOMPARE(offsets.size(), read.size());
            const qsizetype probe = random.bounded(int(read.size()) + 1);
            QCOMPARE(offsets.offsetOf(offsets.positionOf(probe)), probe);
            QCOMPARE(PaneDocument::text(&document, offsets.positionOf(probe), -1, u"\n"), read.mid(probe));
        }
        QCOMPARE(count.count(), CharacterCount(PaneDocument::text(&document)));
    }

    // The count of a block beside a piece: a character made across the cut counts once.
    void blockCharacters_data()
    {
        QTest::addColumn<QString>("tail"); // the end of the first piece
        QTest::addColumn<QString>("head"); // the start of the second
        QTest::addColumn<qsizetype>("characters"); // of the second block
        QTest::newRow("plain") << "ab" << "cd" << qsizetype(2);
        QTest::newRow("an accent after the cut") << "e" << "\u0301x" << qsizetype(1);
        QTest::newRow("a skin tone after the cut") << "👍" << "🏽x" << qsizetype(1);
        QTest::newRow("a flag across the cut") << "🇨" << "🇳x" << qsizetype(1);
        QTest::newRow("a line separator") << "a" << "b\u2028c" << qsizetype(4);
    }

    void blockCharacters()
    {
        QFETCH(QString, tail);
        QFETCH(QString, head);
        QFETCH(qsizetype, characters);
        QTextDocument document;
        QTextCursor cursor(&document);
        cursor.insertText(tail);
        cursor.insertBlock(PaneDocument::blockFormat(true));
        cursor.insertText(head);
        PaneDocument::attachLayout(&document);
        QCOMPARE(PaneCount::blockCharacters(document.lastBlock()), characters);
        PaneCount count(&document);
        QCOMPARE(count.count(), CharacterCount(tail + head) + head.count(QChar::LineSeparator));
    }
};

QTEST_MAIN(TestPaneModel)
#include "tst_panemodel.moc"
