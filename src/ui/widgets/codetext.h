#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QTextDocument>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace rainquill {

// The code pane's model, without a widget: the code, its lines, and its display rows at a
// width. A line ends at a line break (CR LF, CR, LF, U+2028 or U+2029). A row ends where
// the next character would pass the width, at the last place before it where a text
// layout may break a line (after a space, between tags, after a solidus, beside a CJK
// character), or, where a row holds no such place, after the last whole character that
// fits. Rows are found by summing each character's advance from a table, never by laying
// out text, and only as far as they are asked for: the code of a conversion can be tens
// of millions of characters, of which a screenful is shown.
//
// A screen reader is told another text than the code, the one a stock text box holding
// the code gives: every line break is one "\n". Its positions are "reader positions".
class CodeText
{
public:
    // The advance of one character (a code point) in pixels.
    using Advance = std::function<qreal(char32_t)>;

    CodeText();

    const QString &text() const { return m_text; }
    qsizetype size() const { return m_text.size(); }
    void setText(const QString &text);
    // The rows are found afresh after either changes.
    // `overhang`, where given, is how far a character's glyph reaches past its advance:
    // the last one of a row must fit in the width as well.
    void setAdvance(Advance advance, Advance overhang = {});
    void setWidth(qreal width);
    qreal width() const { return m_width; }

    // Lines, found as far as asked for.
    qsizetype lineOf(qsizetype offset) const;
    qsizetype lineStart(qsizetype line) const { return m_lineStarts[line]; }
    // Where the line's text ends, before its line break.
    qsizetype lineEnd(qsizetype line) const;
    // Where the next line starts, after the line break; the code's end for the last line.
    qsizetype lineNext(qsizetype line) const;
    qsizetype lineCount() const;

    // Rows, found as far as asked for.
    bool hasRow(qsizetype row) const;
    qsizetype rowOf(qsizetype offset) const;
    qsizetype rowStart(qsizetype row) const { return m_rowStarts[row]; }
    // Where the row's text ends, before a line break.
    qsizetype rowEnd(qsizetype row) const;
    // Where End takes the caret on the row: as a text box does, before the space a
    // wrapped row ends with.
    qsizetype rowEndForCaret(qsizetype row) const;
    // Finds every row: once, for the end of the code.
    qsizetype rowCount() const;
    bool allRowsFound() const { return m_allRows; }
    // The rows found so far, and the rest estimated from their average length.
    qsizetype estimatedRowCount() const;

    // Reader positions.
    qsizetype readerLength() const;
    qsizetype toReader(qsizetype offset) const;
    qsizetype fromReader(qsizetype position) const;
    QString readerText(qsizetype from, qsizetype to) const;

    // Steps as a stock text box takes them: one character (a cluster; a line break is one
    // step), one word, the word at an offset.
    qsizetype nextCharacter(qsizetype offset) const;
    qsizetype previousCharacter(qsizetype offset) const;
    qsizetype nextWord(qsizetype offset) const;
    qsizetype previousWord(qsizetype offset) const;
    std::pair<qsizetype, qsizetype> wordAt(qsizetype offset) const;

    // A stretch of the code around an offset as a document, for what a text box decides
    // from the text near a place (words, clusters, sentences). Exact while the word or
    // sentence is shorter than the stretch.
    class Window
    {
    public:
        Window(const QString &text, qsizetype offset, qsizetype radius);
        QTextDocument &document() { return *m_document; }
        int toDocument(qsizetype offset) const;
        qsizetype fromDocument(int position) const;

    private:
        std::unique_ptr<QTextDocument> m_document;
        qsizetype m_from = 0;
        std::vector<qsizetype> m_pairs; // the offsets of the LF of each CR LF in the stretch
    };
    Window window(qsizetype offset, qsizetype radius = 2000) const { return Window(m_text, offset, radius); }

private:
    void findLines(qsizetype offset, qsizetype line) const;
    void findRows(qsizetype offset, qsizetype row) const;
    float advance(const char16_t *text, qsizetype at, qsizetype size) const;

    QString m_text;
    Advance m_advance;
    Advance m_overhang;
    qreal m_width = 1;

    mutable QList<qsizetype> m_lineStarts;
    mutable QList<qsizetype> m_readerStarts; // each line's start as a reader position
    mutable bool m_allLines = false;

    mutable QList<qsizetype> m_rowStarts;
    mutable bool m_allRows = false;

    // Advances of the characters of the basic plane met so far; negative while unknown.
    mutable std::vector<float> m_advances;
    mutable std::vector<float> m_overhangs;
    mutable QHash<char32_t, float> m_pairAdvances;
};

} // namespace rainquill
