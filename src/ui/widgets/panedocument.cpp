#include "ui/widgets/panedocument.h"

#include "engine/linebreaks.h"
#include "engine/textgroups.h"

#include <QPlainTextDocumentLayout>
#include <QTextBoundaryFinder>

namespace rainquill {

namespace {

constexpr int ContinuesProperty = QTextFormat::UserProperty + 1;

// A break that ends the block; a line separator stays inside it.
bool endsParagraph(QChar ch)
{
    return IsLineBreak(ch) && ch != QChar::LineSeparator;
}

// The first place in [from, to] where a line may break; -1 for none. A place beside a
// line separator is left out: a piece ending or starting with one would show an extra row.
qsizetype lineBreakBetween(QStringView text, qsizetype from, qsizetype to)
{
    constexpr qsizetype Context = 32; // the finder sees enough of the text around the places
    const qsizetype start = qMax<qsizetype>(0, from - Context);
    const qsizetype end = qMin(text.size(), to + Context);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, text.data() + start, int(end - start));
    finder.setPosition(int(from - start));
    for (qsizetype at = finder.isAtBoundary() ? finder.position() : finder.toNextBoundary();
         at >= 0 && start + at <= to && start + at < end; at = finder.toNextBoundary()) {
        const qsizetype place = start + at;
        if (place > 0 && text[place - 1] != QChar::LineSeparator && text[place] != QChar::LineSeparator)
            return place;
    }
    return -1;
}

} // namespace

bool PaneDocument::continuesParagraph(const QTextBlock &block)
{
    return block.blockFormat().boolProperty(ContinuesProperty);
}

QTextBlockFormat PaneDocument::blockFormat(bool continues)
{
    QTextBlockFormat format;
    if (continues)
        format.setProperty(ContinuesProperty, true);
    return format;
}

std::unique_ptr<QTextDocument> PaneDocument::create(const QFont &font)
{
    auto document = std::make_unique<QTextDocument>();
    document->setDefaultFont(font);
    document->setUndoRedoEnabled(false); // no undo records for what the program builds
    return document;
}

void PaneDocument::attachLayout(QTextDocument *document)
{
    document->setUndoRedoEnabled(true);
    document->setDocumentLayout(new QPlainTextDocumentLayout(document));
}

QString PaneDocument::text(const QTextDocument *document, int from, int to, QStringView lineBreak)
{
    if (to < 0)
        to = document->characterCount() - 1;
    QString out;
    out.reserve(to - from + (to - from) / 32);
    for (QTextBlock block = document->findBlock(from); block.isValid() && block.position() <= to;
         block = block.next()) {
        if (block.position() > from && !continuesParagraph(block))
            out.append(QChar::LineSeparator);
        const int start = qMax(from - block.position(), 0);
        out.append(QStringView(block.text()).mid(start, qMax(0, to - block.position() - start)));
    }
    return out.replace(QChar::LineSeparator, lineBreak.toString());
}

QList<qsizetype> PaneDocument::pieceCuts(QStringView paragraph, qsizetype before)
{
    QList<qsizetype> cuts;
    const qsizetype size = paragraph.size();
    for (qsizetype start = -before;;) {
        const qsizetype earliest = qMax<qsizetype>(start + PieceLength, 1);
        const qsizetype latest = size - PieceLength; // the rest is a whole piece too
        if (earliest > latest)
            break;
        const qsizetype last = qMin(latest, earliest + PieceLength);
        qsizetype cut = lineBreakBetween(paragraph, earliest, last);
        if (cut < 0) {
            cut = CharacterStartAtOrBefore(paragraph, last, earliest - 1);
            if (cut < earliest)
                cut = last; // a character as long as a piece: cut where it must be
        }
        cuts.append(cut);
        start = cut;
    }
    return cuts;
}

QTextCursor PaneDocument::write(QTextCursor cursor, QStringView text, const QTextCharFormat &format)
{
    return write(std::move(cursor), text, {{text.size(), format}});
}

QTextCursor PaneDocument::write(QTextCursor cursor, QStringView text, const QList<FormatRun> &runs)
{
    // The text as the document stores it: a paragraph separator (which the cursor turns
    // into a block) for every break and between every two pieces; the runs' ends moved
    // with it, and where each piece starts.
    QString units;
    units.reserve(text.size() + text.size() / PieceLength + 1);
    QList<qsizetype> runEnds;
    QList<qsizetype> pieceStarts;
    qsizetype run = 0;
    const auto copy = [&](qsizetype from, qsizetype to) {
        for (; run < runs.size() && runs[run].end <= to; ++run)
            runEnds.append(units.size() + qMax<qsizetype>(0, runs[run].end - from));
        units.append(text.mid(from, to - from));
    };
    const auto separate = [&](qsizetype next) { // the text goes on at `next`
        units.append(QChar::ParagraphSeparator);
        for (; run < runs.size() && runs[run].end < next; ++run)
            runEnds.append(units.size());
    };
    qsizetype before = cursor.positionInBlock();
    for (qsizetype pos = 0; pos <= text.size();) {
        qsizetype end = pos;
        while (end < text.size() && !endsParagraph(text[end]))
            ++end;
        const QStringView paragraph = text.mid(pos, end - pos);
        qsizetype from = pos;
        for (const qsizetype cut : pieceCuts(paragraph, before)) {
            copy(from, pos + cut);
            separate(pos + cut);
            pieceStarts.append(units.size());
            from = pos + cut;
        }
        copy(from, end);
        before = 0;
        if (end == text.size())
            break;
        pos = end + LineBreakLength(text, end);
        separate(pos);
    }
    for (; run < runs.size(); ++run)
        runEnds.append(units.size());

    cursor.beginEditBlock();
    const int start = cursor.position();
    const bool inPiece = continuesParagraph(cursor.block());
    qsizetype from = 0;
    for (qsizetype n = 0; n < runs.size(); ++n) {
        if (runEnds[n] > from)
            cursor.insertText(units.mid(from, runEnds[n] - from), runs[n].format);
        from = qMax(from, runEnds[n]);
    }
    // A new block takes the format of the block it was made in: every one is a paragraph
    // of its own but for the pieces.
    QTextDocument *document = cursor.document();
    if (inPiece) {
        const QTextBlock last = document->findBlock(start + int(units.size()));
        for (QTextBlock block = document->findBlock(start); block != last;) {
            block = block.next();
            const bool piece = std::binary_search(pieceStarts.cbegin(), pieceStarts.cend(),
                                                  qsizetype(block.position() - start));
            QTextCursor(block).setBlockFormat(blockFormat(piece));
        }
    } else {
        for (const qsizetype piece : pieceStarts)
            QTextCursor(document->findBlock(start + int(piece))).setBlockFormat(blockFormat(true));
    }
    cursor.endEditBlock();
    return cursor;
}

} // namespace rainquill
