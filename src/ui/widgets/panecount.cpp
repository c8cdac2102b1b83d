#include "ui/widgets/panecount.h"

#include "engine/textgroups.h"
#include "ui/widgets/panedocument.h"

#include <QTextBlock>
#include <QTextDocument>

namespace rainquill {

namespace {

struct Share : QTextBlockUserData
{
    explicit Share(qsizetype characters, bool continues) : characters(characters), continues(continues) {}
    qsizetype characters;
    bool continues;
};

Share *kept(const QTextBlock &block)
{
    return static_cast<Share *>(block.userData());
}

} // namespace

PaneCount::PaneCount(QTextDocument *document) : QObject(document), m_document(document)
{
    connect(document, &QTextDocument::contentsChange, this,
            [this](int position, int, int added) { changed(position, added); });
}

qsizetype PaneCount::blockCharacters(const QTextBlock &block)
{
    const QString text = block.text();
    qsizetype characters = CharacterCount(text) + text.count(QChar::LineSeparator);
    const QTextBlock before = block.previous();
    if (PaneDocument::continuesParagraph(block) && before.isValid() && !text.isEmpty()) {
        // A character may run across the place where a paragraph is cut: near it, the
        // two pieces counted as one text have fewer characters than apart.
        const QString tail = before.text().right(32);
        if (!tail.isEmpty() && (MayJoinOthers(tail.back()) || MayJoinOthers(text.front()))) {
            const QString head = text.left(32);
            characters += CharacterCount(tail + head) - CharacterCount(tail) - CharacterCount(head);
        }
    }
    return characters;
}

qsizetype PaneCount::share(QTextBlock block)
{
    if (!kept(block))
        block.setUserData(
            new Share(blockCharacters(block), PaneDocument::continuesParagraph(block) && block.previous().isValid()));
    return kept(block)->characters;
}

void PaneCount::recount(const QTextBlock &block)
{
    if (Share *old = kept(block)) {
        m_shares -= old->characters;
        m_joins -= int(old->continues);
    }
    QTextBlock changed = block;
    changed.setUserData(nullptr);
    m_shares += share(block);
    m_joins += int(kept(block)->continues);
}

void PaneCount::changed(int position, int added)
{
    const QTextBlock first = m_document->findBlock(position);
    const QTextBlock last = m_document->findBlock(position + added);
    // A change within one block (a keystroke) is counted again in that block alone, and
    // in the piece after it, which may make a character with its end.
    if (m_valid && first == last && m_document->blockCount() == m_blocks && kept(first)) {
        recount(first);
        if (const QTextBlock next = first.next(); next.isValid() && kept(next))
            recount(next);
        return;
    }
    m_valid = false;
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        block.setUserData(nullptr);
        if (block == last) {
            if (QTextBlock next = block.next(); next.isValid())
                next.setUserData(nullptr);
            break;
        }
    }
}

qsizetype PaneCount::count()
{
    if (!m_valid) {
        m_shares = m_joins = 0;
        for (QTextBlock block = m_document->begin(); block.isValid(); block = block.next()) {
            m_shares += share(block);
            m_joins += int(kept(block)->continues);
        }
        m_blocks = m_document->blockCount();
        m_valid = true;
    }
    // Between two paragraphs a line break, CR LF; between two pieces nothing.
    return m_shares + 2 * (m_blocks - 1 - m_joins);
}

} // namespace rainquill
