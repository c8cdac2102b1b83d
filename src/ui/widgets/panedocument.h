#pragma once

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <memory>

namespace rainquill {

// The input pane's document. The plain-text layout lays out a whole block at once and
// walks every block when the widest one narrows, so the text is held in blocks of a few
// thousand characters: a line break is a line separator within a block or a break
// between blocks, and a line longer than PieceLength is held in pieces, each a block of
// its own marked as continuing the one before. The text read back joins the pieces, so
// nothing but the display knows of them.
namespace PaneDocument {

inline constexpr int PieceLength = 512;

bool continuesParagraph(const QTextBlock &block);

// A block format for a piece that continues the paragraph (or for a new paragraph).
QTextBlockFormat blockFormat(bool continues);

// A new document in the font, without a layout: built away from the pane, it is given the
// plain-text layout only when complete (laying out as it grows costs far more).
std::unique_ptr<QTextDocument> create(const QFont &font);
void attachLayout(QTextDocument *document);

// The text between two positions of the document, every paragraph break (and every line
// break within a paragraph) as CR LF, the pieces of a paragraph joined.
QString text(const QTextDocument *document, int from = 0, int to = -1, QStringView lineBreak = u"\r\n");

} // namespace PaneDocument

// Writes text into a pane document at a cursor, in a character format: CR LF, CR, LF,
// U+2028 and U+2029 break the line (a CR LF cut between two writes is one break). Short
// lines share a block, parted by line separators, up to PieceLength units; a longer line
// is cut into pieces. So the document has a block for every few thousand characters,
// whatever the shape of the text, and the layout's work on a keystroke stays small.
class PaneWriter
{
public:
    // All that is written is one edit of the document: one change to undo, and the
    // cursor does not ask the layout where it stands after every insertion.
    explicit PaneWriter(QTextCursor cursor);
    ~PaneWriter();
    PaneWriter(const PaneWriter &) = delete;
    PaneWriter &operator=(const PaneWriter &) = delete;

    void write(QStringView text, const QTextCharFormat &format = {});
    // Where the next write goes: after everything written.
    QTextCursor cursor() const { return m_cursor; }

private:
    void flush(const QTextCharFormat &format);
    void breakBlock(bool piece, const QTextCharFormat &format);

    QTextCursor m_cursor;
    QString m_pending;       // written, not yet inserted
    qsizetype m_blockLength; // of the block the cursor is in, up to the cursor
    bool m_afterCr = false;  // the last write ended with a CR
    const QTextBlockFormat m_paragraph;
    const QTextBlockFormat m_piece;
};

} // namespace rainquill
