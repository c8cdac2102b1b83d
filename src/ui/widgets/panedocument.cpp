#include "ui/widgets/panedocument.h"

#include "engine/textgroups.h"

#include <QPlainTextDocumentLayout>

namespace rainquill {

namespace {

constexpr int ContinuesProperty = QTextFormat::UserProperty + 1;

bool isLineBreak(QChar ch)
{
    return ch == u'\r' || ch == u'\n' || ch == QChar::LineSeparator || ch == QChar::ParagraphSeparator;
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

PaneWriter::PaneWriter(QTextCursor cursor)
    : m_cursor(std::move(cursor)),
      m_blockLength(m_cursor.positionInBlock()),
      m_paragraph(PaneDocument::blockFormat(false)),
      m_piece(PaneDocument::blockFormat(true))
{
    m_cursor.beginEditBlock();
}

PaneWriter::~PaneWriter()
{
    m_cursor.endEditBlock();
}

void PaneWriter::flush(const QTextCharFormat &format)
{
    if (!m_pending.isEmpty())
        m_cursor.insertText(m_pending, format);
    m_pending.clear();
}

void PaneWriter::breakBlock(bool piece, const QTextCharFormat &format)
{
    flush(format);
    m_cursor.insertBlock(piece ? m_piece : m_paragraph, format);
    m_blockLength = 0;
}

void PaneWriter::write(QStringView text, const QTextCharFormat &format)
{
    qsizetype pos = std::exchange(m_afterCr, false) && text.startsWith(u'\n') ? 1 : 0;
    const qsizetype size = text.size();
    const auto lineEnd = [&](qsizetype from) {
        while (from < size && !isLineBreak(text[from]))
            ++from;
        return from;
    };
    qsizetype end = lineEnd(pos);
    for (;;) {
        // The line, in pieces where it does not fit the block.
        while (m_blockLength + (end - pos) > PaneDocument::PieceLength) {
            qsizetype cut = pos + qMax<qsizetype>(PaneDocument::PieceLength - m_blockLength, 0);
            cut = CharacterStartAtOrBefore(text, cut, pos); // a piece ends between two characters
            m_pending.append(text.mid(pos, cut - pos));
            breakBlock(true, format);
            pos = cut;
        }
        m_pending.append(text.mid(pos, end - pos));
        m_blockLength += end - pos;
        if (end == size)
            break;
        const bool crlf = text[end] == u'\r' && end + 1 < size && text[end + 1] == u'\n';
        m_afterCr = text[end] == u'\r' && end + 1 == size;
        pos = end + (crlf ? 2 : 1);
        end = lineEnd(pos);
        // Short lines share a block, parted by line separators; the next line that would
        // not fit starts a paragraph of its own.
        if (m_blockLength + 1 + (end - pos) <= PaneDocument::PieceLength) {
            m_pending.append(QChar::LineSeparator);
            ++m_blockLength;
        } else {
            breakBlock(false, format);
        }
    }
    flush(format);
}

} // namespace rainquill
