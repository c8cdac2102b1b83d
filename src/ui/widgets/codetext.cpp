#include "ui/widgets/codetext.h"

#include "engine/linebreaks.h"

#include <QTextCursor>

#include <algorithm>
#include <array>
#include <string_view>

namespace rainquill {

namespace {

// What a character is to the row breaking: the classes of the Unicode line breaking
// rules that code is made of, as a text layout breaks them.
enum Class : quint8 {
    Other,   // letters and most symbols (AL)
    Space,   // hangs past the edge; a row may end after it (SP)
    Break,   // ends the line
    Open,    // an opening bracket: nothing breaks after it (OP)
    Close,   // closing punctuation: never starts a row (CL, NS)
    Paren,   // a closing bracket, bound to letters after it as well (CP)
    Wide,    // CJK: a row may end on either side (ID)
    Glue,    // belongs to the character before it (a mark, a joiner, a low surrogate)
    High,    // starts a surrogate pair: a character outside the basic plane, taken as ID
    Digit,   // NU
    Solidus, // SY
    Infix,   // IS
    Exclam,  // EX
    Hyphen,  // HY
    Quote,   // QU
    Prefix,  // PR
    Postfix, // PO
    After,   // a row may end after it (BA)
    ClassCount
};

// Whether a row may end between a character of the first class and one of the second,
// next to each other (the class before is that of the last character that is not glue).
constexpr auto Breaks = [] {
    std::array<std::array<bool, ClassCount>, ClassCount> breaks{};
    const auto allow = [&](Class before, std::initializer_list<Class> after) {
        for (const Class a : after)
            breaks[before][a] = true;
    };
    for (quint8 after = 0; after < ClassCount; ++after)
        breaks[Space][after] = true;
    for (const Class never : {Space, Break, Close, Paren, Glue, Solidus, Infix, Exclam})
        breaks[Space][never] = false;
    allow(Close, {Open, Digit, Other, Wide, High});
    allow(Paren, {Open, Wide, High});
    allow(Exclam, {Open, Prefix, Postfix, Digit, Other, Wide, High});
    allow(Solidus, {Open, Prefix, Postfix, Other, Wide, High});
    allow(Infix, {Open, Prefix, Postfix, Wide, High});
    allow(Postfix, {Prefix, Postfix, Wide, High});
    allow(Digit, {Wide, High});
    allow(Other, {Wide, High});
    allow(Wide, {Open, Prefix, Digit, Other, Wide, High});
    allow(High, {Open, Prefix, Digit, Other, Wide, High});
    allow(Hyphen, {Open, Prefix, Postfix, Other, Wide, High});
    allow(After, {Open, Prefix, Postfix, Digit, Other, Wide, High});
    return breaks;
}();

const std::array<quint8, 0x10000> &classes()
{
    static const auto table = [] {
        std::array<quint8, 0x10000> c{};
        for (char32_t ch = 0; ch < 0x10000; ++ch) {
            if ((ch >= 0x2E80 && ch <= 0xA4CF) || (ch >= 0xAC00 && ch <= 0xD7A3) || (ch >= 0xF900 && ch <= 0xFAFF)
                || (ch >= 0xFE30 && ch <= 0xFE4F) || (ch >= 0xFF01 && ch <= 0xFF60))
                c[ch] = Wide;
            else if (QChar::isMark(ch) || ch == 0x200D || (ch >= 0xFE00 && ch <= 0xFE0F) || QChar::isLowSurrogate(ch))
                c[ch] = Glue;
            else if (QChar::isHighSurrogate(ch))
                c[ch] = High;
        }
        const auto set = [&](std::u16string_view characters, Class kind) {
            for (const char16_t ch : characters)
                c[ch] = kind;
        };
        set(u"0123456789", Digit);
        set(u" \t\u3000", Space);
        set(u"[({\uFF08\u300C\u300E\u3010\u3008\u300A", Open);
        set(u"}\uFF0C\u3002\u3001\uFF1B\uFF1A\uFF09\u300D\u300F\u3011\u3009\u300B", Close);
        set(u"])", Paren);
        set(u"!?\uFF01\uFF1F", Exclam);
        set(u"/", Solidus);
        set(u",.:;", Infix);
        set(u"-", Hyphen);
        set(u"\"'", Quote);
        set(u"$+\\", Prefix);
        set(u"%", Postfix);
        set(u"|", After);
        for (char32_t ch = 0; ch < 0x10000; ++ch) {
            if (IsLineBreak(QChar(ch)))
                c[ch] = Break;
        }
        return c;
    }();
    return table;
}

bool isBreak(char16_t c)
{
    return IsLineBreak(QChar(c));
}

constexpr float Unknown = -1, PairStart = -2;

// Where the line break that ends at `next` starts, for a line or row that starts at `from`:
// a CR LF is one break unless its CR lies before `from`.
qsizetype breakStart(const QString &text, qsizetype from, qsizetype next)
{
    const bool pair = text[next - 1] == u'\n' && next - 2 >= from && text[next - 2] == u'\r';
    return next - (pair ? 2 : 1);
}

} // namespace

CodeText::CodeText()
{
    setAdvance([](char32_t) { return 1.0; });
    setText(QString());
}

void CodeText::setText(const QString &text)
{
    m_text = text;
    m_lineStarts = {0};
    m_readerStarts = {0};
    m_allLines = false;
    m_rowStarts = {0};
    m_allRows = false;
}

void CodeText::setAdvance(Advance advance, Advance overhang)
{
    m_advance = std::move(advance);
    m_overhang = std::move(overhang);
    m_advances.assign(0x10000, Unknown);
    m_overhangs.assign(0x10000, 0);
    std::fill(m_advances.begin() + 0xD800, m_advances.begin() + 0xDC00, PairStart);
    // Glue is drawn over its character, as the text layout shapes it.
    for (char32_t ch = 0; ch < 0x10000; ++ch) {
        if (classes()[ch] == Glue)
            m_advances[ch] = 0;
    }
    m_pairAdvances.clear();
    m_rowStarts = {0};
    m_allRows = false;
}

void CodeText::setWidth(qreal width)
{
    m_width = qMax<qreal>(1, width);
    m_rowStarts = {0};
    m_allRows = false;
}

void CodeText::findLines(qsizetype offset, qsizetype line) const
{
    const auto *d = reinterpret_cast<const char16_t *>(m_text.constData());
    const qsizetype n = m_text.size();
    while (!m_allLines && (m_lineStarts.last() <= offset || m_lineStarts.size() <= line + 1)) {
        const qsizetype start = m_lineStarts.last();
        qsizetype i = start;
        while (i < n && !isBreak(d[i]))
            ++i;
        if (i == n) {
            m_allLines = true;
            break;
        }
        m_readerStarts.append(m_readerStarts.last() + (i - start) + 1);
        m_lineStarts.append(i + LineBreakLength(m_text, i));
    }
}

qsizetype CodeText::lineOf(qsizetype offset) const
{
    findLines(offset, -1);
    return std::upper_bound(m_lineStarts.cbegin(), m_lineStarts.cend(), offset) - m_lineStarts.cbegin() - 1;
}

qsizetype CodeText::lineEnd(qsizetype line) const
{
    findLines(-1, line);
    if (line + 1 >= m_lineStarts.size())
        return size();
    const qsizetype next = m_lineStarts[line + 1];
    return breakStart(m_text, m_lineStarts[line], next);
}

qsizetype CodeText::lineNext(qsizetype line) const
{
    findLines(-1, line);
    return line + 1 < m_lineStarts.size() ? m_lineStarts[line + 1] : size();
}

qsizetype CodeText::lineCount() const
{
    findLines(size(), size());
    return m_lineStarts.size();
}

float CodeText::advance(const char16_t *text, qsizetype at, qsizetype size) const
{
    const char16_t c = text[at];
    if (QChar::isHighSurrogate(c) && at + 1 < size && QChar::isLowSurrogate(text[at + 1])) {
        const char32_t point = QChar::surrogateToUcs4(c, text[at + 1]);
        auto found = m_pairAdvances.constFind(point);
        if (found == m_pairAdvances.cend())
            found = m_pairAdvances.insert(point, float(m_advance(point)));
        return *found;
    }
    const float width = float(m_advance(c));
    if (!QChar::isHighSurrogate(c)) {
        m_advances[c] = width;
        if (m_overhang)
            m_overhangs[c] = float(qMax<qreal>(0, m_overhang(c)));
    }
    return width;
}

void CodeText::findRows(qsizetype offset, qsizetype row) const
{
    const auto done = [&] { return m_rowStarts.last() > offset && m_rowStarts.size() > row + 1; };
    if (m_allRows || done())
        return;
    const auto &cls = classes();
    const auto *d = reinterpret_cast<const char16_t *>(m_text.constData());
    const float *advances = m_advances.data();
    const float *overhangs = m_overhangs.data();
    const qsizetype n = m_text.size();
    const qreal width = m_width;
    // The row being measured: its start, the width so far, the last place it may end and
    // the width before that place.
    qsizetype start = m_rowStarts.last(), i = start, breakAt = -1;
    qreal x = 0, xAtBreak = 0;
    quint8 before = Open;
    while (i < n) {
        const char16_t c = d[i];
        const quint8 kind = cls[c];
        if (kind == Break) {
            i += LineBreakLength(m_text, i);
            start = i;
            x = 0;
            breakAt = -1;
            before = Open;
            m_rowStarts.append(start);
            if (done())
                return;
            continue;
        }
        if (i > start && Breaks[before][kind]) {
            breakAt = i;
            xAtBreak = x;
        }
        float w = advances[c];
        if (w < 0)
            w = advance(d, i, n);
        // Spaces hang past the edge, and glue stays with its character.
        if (x + w + overhangs[c] > width && i > start && kind != Space && kind != Glue) {
            if (breakAt > start) {
                start = breakAt;
                x -= xAtBreak;
            } else {
                start = i;
                x = 0;
            }
            breakAt = -1;
            m_rowStarts.append(start);
            if (done())
                return;
            continue; // the character again, on the new row
        }
        x += w;
        if (kind != Glue)
            before = kind;
        ++i;
    }
    m_allRows = true;
}

bool CodeText::hasRow(qsizetype row) const
{
    findRows(-1, row);
    return row >= 0 && row < m_rowStarts.size();
}

qsizetype CodeText::rowOf(qsizetype offset) const
{
    findRows(offset, -1);
    return std::upper_bound(m_rowStarts.cbegin(), m_rowStarts.cend(), offset) - m_rowStarts.cbegin() - 1;
}

qsizetype CodeText::rowEnd(qsizetype row) const
{
    findRows(-1, row);
    if (row + 1 >= m_rowStarts.size())
        return size();
    const qsizetype next = m_rowStarts[row + 1];
    if (next == m_rowStarts[row] || !isBreak(m_text[next - 1].unicode()))
        return next; // the row wraps
    return breakStart(m_text, m_rowStarts[row], next);
}

qsizetype CodeText::rowEndForCaret(qsizetype row) const
{
    const qsizetype end = rowEnd(row);
    const bool wraps = row + 1 < m_rowStarts.size() && m_rowStarts[row + 1] == end;
    return wraps && m_text[end - 1].isSpace() ? end - 1 : end; // a wrapped row is never empty
}

qsizetype CodeText::rowCount() const
{
    findRows(size(), size());
    return m_rowStarts.size();
}

qsizetype CodeText::estimatedRowCount() const
{
    if (m_rowStarts.last() == 0)
        findRows(qMin<qsizetype>(size(), 4096), -1);
    const qsizetype found = m_rowStarts.size(), last = m_rowStarts.last();
    if (m_allRows || last == 0)
        return found;
    // The rows before the last start, and those from there on at the same rate.
    return found - 1 + ((size() - last) * (found - 1) + last - 1) / last;
}

qsizetype CodeText::readerLength() const
{
    findLines(size(), size());
    return m_readerStarts.last() + (size() - m_lineStarts.last());
}

qsizetype CodeText::toReader(qsizetype offset) const
{
    offset = qBound<qsizetype>(0, offset, size());
    const qsizetype line = lineOf(offset);
    return m_readerStarts[line] + (qMin(offset, lineEnd(line)) - m_lineStarts[line]);
}

qsizetype CodeText::fromReader(qsizetype position) const
{
    position = qMax<qsizetype>(0, position);
    while (!m_allLines && m_readerStarts.last() <= position)
        findLines(m_lineStarts.last(), -1);
    const qsizetype line =
        std::upper_bound(m_readerStarts.cbegin(), m_readerStarts.cend(), position) - m_readerStarts.cbegin() - 1;
    return qMin(m_lineStarts[line] + (position - m_readerStarts[line]), lineEnd(line));
}

QString CodeText::readerText(qsizetype from, qsizetype to) const
{
    const qsizetype start = fromReader(from), end = fromReader(qMax(from, to));
    if (lineOf(start) == lineOf(end))
        return m_text.mid(start, end - start);
    QString text;
    text.reserve(end - start);
    for (qsizetype line = lineOf(start); line < m_lineStarts.size() && m_lineStarts[line] <= end; ++line) {
        const qsizetype from = qMax(start, m_lineStarts[line]), to = qMin(end, lineEnd(line));
        if (to > from)
            text.append(QStringView(m_text).sliced(from, to - from));
        if (lineNext(line) <= end && lineEnd(line) < lineNext(line))
            text.append(u'\n');
    }
    return text;
}

CodeText::Window::Window(const QString &text, qsizetype offset, qsizetype radius)
    : m_document(std::make_unique<QTextDocument>())
{
    const qsizetype n = text.size();
    qsizetype from = qMax<qsizetype>(0, offset - radius), to = qMin(n, offset + radius);
    // Never a stretch that starts or ends inside a CR LF or a surrogate pair.
    if (from > 0 && (text[from].isLowSurrogate() || (text[from] == u'\n' && text[from - 1] == u'\r')))
        --from;
    if (to < n && to > 0 && (text[to].isLowSurrogate() || (text[to] == u'\n' && text[to - 1] == u'\r')))
        ++to;
    m_from = from;
    for (qsizetype i = from + 1; i < to; ++i) {
        if (text[i] == u'\n' && text[i - 1] == u'\r')
            m_pairs.push_back(i);
    }
    m_document->setPlainText(text.mid(from, to - from));
}

int CodeText::Window::toDocument(qsizetype offset) const
{
    const auto before = std::lower_bound(m_pairs.cbegin(), m_pairs.cend(), offset) - m_pairs.cbegin();
    return int(qBound(qsizetype(0), qsizetype(offset - m_from - before), qsizetype(m_document->characterCount() - 1)));
}

qsizetype CodeText::Window::fromDocument(int position) const
{
    qsizetype offset = m_from + position;
    for (const qsizetype pair : m_pairs) {
        if (pair > offset)
            break;
        ++offset;
    }
    return offset;
}

namespace {

qsizetype moved(const CodeText &code, qsizetype offset, QTextCursor::MoveOperation operation, qsizetype radius)
{
    CodeText::Window window = code.window(offset, radius);
    QTextCursor cursor(&window.document());
    cursor.setPosition(window.toDocument(offset));
    cursor.movePosition(operation);
    return window.fromDocument(cursor.position());
}

} // namespace

qsizetype CodeText::nextCharacter(qsizetype offset) const
{
    return moved(*this, offset, QTextCursor::NextCharacter, 64);
}

qsizetype CodeText::previousCharacter(qsizetype offset) const
{
    return moved(*this, offset, QTextCursor::PreviousCharacter, 64);
}

qsizetype CodeText::nextWord(qsizetype offset) const
{
    return moved(*this, offset, QTextCursor::NextWord, 2000);
}

qsizetype CodeText::previousWord(qsizetype offset) const
{
    return moved(*this, offset, QTextCursor::PreviousWord, 2000);
}

std::pair<qsizetype, qsizetype> CodeText::wordAt(qsizetype offset) const
{
    Window window = this->window(offset);
    QTextCursor cursor(&window.document());
    cursor.setPosition(window.toDocument(offset));
    cursor.select(QTextCursor::WordUnderCursor);
    return {window.fromDocument(cursor.anchor()), window.fromDocument(cursor.position())};
}

} // namespace rainquill
