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

// A template part with its character count, counted once per conversion: a template
// is written around every group, and counting it each time made long templates quadratic.
struct TemplatePart
{
    QStringView text;
    qint64 characters;
};

// Writes into memory reserved for the whole code.
struct WriteSink
{
    char16_t *out;

    void put(TemplatePart part) { put(part.text); }
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

// Measures the code without writing it, in code units and, when asked, in characters.
struct CountSink
{
    bool countCharacters = false;
    qint64 units = 0;
    qint64 characters = 0;

    void put(QStringView text)
    {
        units += text.size();
        if (countCharacters)
            characters += CharacterCount(text);
    }
    void put(TemplatePart part)
    {
        units += part.text.size();
        characters += part.characters;
    }
    void put(char16_t) { ++units, ++characters; }
    void putColor(Rgb) { units += 7, characters += 7; }
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
void writeCode(Sink &sink, const CodeRequest &r, qsizetype L, qsizetype step)
{
    const bool html = r.format == OutputFormat::Html;
    const TemplatePart prefix{r.tpl.prefix, CharacterCount(r.tpl.prefix)};
    const TemplatePart middle{r.tpl.middle, CharacterCount(r.tpl.middle)};
    const TemplatePart suffix{r.tpl.suffix, CharacterCount(r.tpl.suffix)};
    ForEachGroup(r.text, L, step, [&](qsizetype i, QStringView g) {
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

} // namespace

QString HexByte(double value)
{
    const double whole = RoundHalfEven(value);
    if (!(whole >= 0 && whole <= 255))
        return {};
    const int v = int(whole);
    const QChar digits[] = {QChar(Hex[v >> 4]), QChar(Hex[v & 15])};
    return QString(digits, 2);
}

qint64 CodeLengthBound(const CodeRequest &request)
{
    const qsizetype L = CharacterCount(request.text);
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
    writeCode(count, request, L, step);
    return count.units;
}

std::optional<QString> GenerateCode(const CodeRequest &request)
{
    return GenerateCode(request, CodeLengthBound(request));
}

std::optional<QString> GenerateCode(const CodeRequest &request, qint64 bound)
{
    if (bound > MaxCodeLength)
        return std::nullopt;
    const qsizetype L = CharacterCount(request.text);
    const qsizetype step = WholeStep(request.stepValue, L);

    QString code;
    code.resize(bound); // left uninitialised until written
    WriteSink sink{reinterpret_cast<char16_t *>(code.data())};
    writeCode(sink, request, L, step);
    code.truncate(sink.out - reinterpret_cast<const char16_t *>(code.constData()));
    return code;
}

qint64 CodeCharacterCount(const CodeRequest &request)
{
    const qsizetype L = CharacterCount(request.text);
    CountSink count{true};
    writeCode(count, request, L, WholeStep(request.stepValue, L));
    return count.characters;
}

} // namespace rainquill
