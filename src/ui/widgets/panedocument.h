#pragma once

#include <QList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <memory>

namespace rainquill {

// The input pane's document, held as a stock plain-text edit holds a text: a block for
// every paragraph, a line separator (U+2028) kept inside its block. Only a paragraph longer
// than PieceLength may be held in pieces, each a block of its own of at least PieceLength
// units marked as continuing the one before, cut where a line may break: so the layout,
// which lays out a whole block at once, never lays out more than a few pieces for a
// keystroke. The text read back joins the pieces, so nothing but the display knows of them.
namespace PaneDocument {

inline constexpr qsizetype PieceLength = 16384;

bool continuesParagraph(const QTextBlock &block);

// A block format for a piece that continues the paragraph (or for a new paragraph).
QTextBlockFormat blockFormat(bool continues);

// A new document in the font, without a layout: built away from the pane, it is given the
// plain-text layout only when complete (laying out as it grows costs far more).
std::unique_ptr<QTextDocument> create(const QFont &font);
void attachLayout(QTextDocument *document);

// The text between two positions of the document, every line break (between paragraphs,
// or a line separator within one) as `lineBreak`, the pieces of a paragraph joined.
QString text(const QTextDocument *document, int from = 0, int to = -1, QStringView lineBreak = u"\r\n");

// Where a paragraph of the text is cut into pieces: the offsets in `paragraph` at which
// pieces start. `before` units of the block are already in front of the paragraph. Every
// piece, the first with what is before it, has at least PieceLength units; each cut is
// where a line may break, or, in a stretch of PieceLength units where none may, between
// two characters.
QList<qsizetype> pieceCuts(QStringView paragraph, qsizetype before);

// A stretch of text written in one character format, up to `end` (an offset in the text).
struct FormatRun
{
    qsizetype end = 0;
    QTextCharFormat format;
};

// Writes the text at the cursor, run by run, as one edit of the document (one step to
// undo), and returns the cursor after it. Every line break of the text (the program's
// rule) becomes a paragraph break, but for a line separator, which stays in its block
// as the stock widget keeps it; a long paragraph is cut into pieces.
QTextCursor write(QTextCursor cursor, QStringView text, const QList<FormatRun> &runs);
QTextCursor write(QTextCursor cursor, QStringView text, const QTextCharFormat &format = {});

} // namespace PaneDocument

} // namespace rainquill
