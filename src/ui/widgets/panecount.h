#pragma once

#include <QObject>

class QTextBlock;
class QTextDocument;

namespace rainquill {

// The number of characters of a pane document's text, as the text reads (every line break
// CR LF, the pieces of a paragraph joined) and as CharacterCount counts it. Each block's
// share is kept with the block until the block changes, so a keystroke counts its own
// block again and no other.
class PaneCount : public QObject
{
    Q_OBJECT

public:
    explicit PaneCount(QTextDocument *document);

    qsizetype count();

    // What one block adds to the count: its characters, a line separator in it counting
    // two (CR LF), less the characters it makes with the piece before it.
    static qsizetype blockCharacters(const QTextBlock &block);

private:
    void changed(int position, int added);
    // The block's share, counted now when it is not kept.
    qsizetype share(QTextBlock block);
    void recount(const QTextBlock &block);

    QTextDocument *m_document;
    bool m_valid = false;
    qsizetype m_shares = 0; // the shares of all blocks
    qsizetype m_joins = 0;  // blocks that continue the one before
    int m_blocks = 0;
};

} // namespace rainquill
