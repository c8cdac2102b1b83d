#include "engine/markup.h"

#include "engine/numbers.h"
#include "engine/textgroups.h"

#include <array>

namespace rainquill {

namespace {

constexpr char16_t Hex[] = u"0123456789ABCDEF";

// A group written bare (or, in html, as entities and line breaks): one CR, one LF, one
// TAB, or nothing but spaces.
bool isWhitespaceGroup(QStringView g)
{
    if (g.size() == 1 && (g[0] == u'\r' || g[0] == u'\n' || g[0] == u'\t'))
        return true;
    for (const QChar ch : g) {
        if (ch != u' ')
            return false;
    }
    return true;
}

// Writes into memory reserved for the whole code.
struct WriteSink
{
    char16_t *out;

    void put(QStringView text)
    {
        // Templates and groups are mostly a few characters: a plain loop beats memcpy.
        for (const QChar ch : text)
            *out++ = ch.unicode();
    }
    void put(char16_t ch) { *out++ = ch; }
    void putColor(Rgb c)
    {
        *out++ = u'#';
        for (const int v : {c.red, c.green, c.blue}) {
            *out++ = Hex[v >> 4];
            *out++ = Hex[v & 15];
        }
    }
};

// Measures the code in code units without writing it.
struct CountSink
{
    qint64 units = 0;

    void put(QStringView text) { units += text.size(); }
    void put(char16_t) { ++units; }
    void putColor(Rgb) { units += 7; }
};

template<typename Sink>
void putHtmlWhitespace(Sink &sink, QStringView g)
{
    if (g[0] == u'\r')
        sink.put(u"<br />");
    else if (g[0] == u'\t')
        sink.put(u"<br /><br />");
    else if (g[0] == u' ') {
        for (qsizetype n = 0; n < g.size(); ++n)
            sink.put(u"&nbsp;");
    }
}

template<typename Sink>
void putHtmlText(Sink &sink, QStringView g)
{
    qsizetype plain = 0;
    for (qsizetype pos = 0; pos < g.size(); ++pos) {
        QStringView replacement;
        switch (g[pos].unicode()) {
        case u'&': replacement = u"&amp;"; break;
        case u'<': replacement = u"&lt;"; break;
        case u'>': replacement = u"&gt;"; break;
        case u'\r': replacement = u"<br />"; break;
        case u'\n': replacement = u""; break;
        default: continue;
        }
        sink.put(g.mid(plain, pos - plain));
        sink.put(replacement);
        plain = pos + 1;
    }
    sink.put(g.mid(plain));
}

template<typename Sink>
void writeCode(Sink &sink, const CodeRequest &r, const Characters &characters)
{
    const bool html = r.format == OutputFormat::Html;
    const QStringView prefix = r.tpl.prefix, middle = r.tpl.middle, suffix = r.tpl.suffix;
    const qsizetype L = characters.count();
    ForEachGroup(characters, WholeStep(r.stepValue, L), [&](qsizetype i, QStringView g) {
        if (isWhitespaceGroup(g)) {
            if (html)
                putHtmlWhitespace(sink, g);
            else
                sink.put(g);
            return;
        }
        sink.put(prefix);
        sink.putColor(GroupColor(r.start, r.end, i, L));
        sink.put(middle);
        if (html)
            putHtmlText(sink, g);
        else
            sink.put(g);
        sink.put(suffix);
    });
}

// The length bound of CodeLengthBound, for the text's characters already found.
qint64 lengthBound(const CodeRequest &request, const Characters &characters)
{
    const qsizetype L = characters.count();
    const qsizetype step = WholeStep(request.stepValue, L);
    const qsizetype groups = (L + step - 1) / step;
    const qint64 perGroup = request.tpl.prefix.size() + 7 + request.tpl.middle.size()
                            + request.tpl.suffix.size();
    // The longest replacement of one character is html's TAB, "<br /><br />".
    const qint64 perCharacter = request.format == OutputFormat::Html ? 12 : 1;
    const qint64 bound = groups * perGroup + request.text.size() * perCharacter;
    if (bound <= MaxCodeLength)
        return bound;
    CountSink count; // the quick bound is far above the code: count it exactly
    writeCode(count, request, characters);
    return count.units;
}

std::optional<QString> generate(const CodeRequest &request, const Characters &characters, qint64 bound)
{
    if (bound > MaxCodeLength)
        return std::nullopt;
    QString code;
    code.resize(bound); // left uninitialised until written
    WriteSink sink{reinterpret_cast<char16_t *>(code.data())};
    writeCode(sink, request, characters);
    code.truncate(sink.out - reinterpret_cast<const char16_t *>(code.constData()));
    return code;
}

} // namespace

qint64 CodeLengthBound(const CodeRequest &request, const Characters &characters)
{
    return lengthBound(request, characters);
}

std::optional<QString> GenerateCode(const CodeRequest &request)
{
    const Characters characters(request.text);
    return generate(request, characters, lengthBound(request, characters));
}

std::optional<QString> GenerateCode(const CodeRequest &request, const Characters &characters, qint64 bound)
{
    return generate(request, characters, bound);
}

namespace {

bool joinsAnywhere(const CodeRequest &request)
{
    return MayJoinAny(request.text) || MayJoinAny(request.tpl.prefix) || MayJoinAny(request.tpl.middle)
           || MayJoinAny(request.tpl.suffix);
}

} // namespace

qint64 CodeCharacters(const CodeRequest &request, QStringView code)
{
    // Only the text and the template can bring a unit that joins another into the code.
    return joinsAnywhere(request) ? CharacterCount(code) : code.size();
}

qint64 CodeCharacterCount(const CodeRequest &request)
{
    const Characters characters(request.text);
    CountSink count;
    writeCode(count, request, characters);
    if (!joinsAnywhere(request) || count.units > MaxCodeLength)
        return count.units; // beyond the limit, the units stand for the characters
    return CharacterCount(*generate(request, characters, count.units));
}

} // namespace rainquill
