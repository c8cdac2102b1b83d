#include "update/pagetext.h"

#include <QByteArrayList>
#include <QStringDecoder>

#include <libxml/HTMLparser.h>
#include <libxml/parser.h>

#include <memory>

namespace rainquill {

namespace {

// libxml2's html parser: made for pages from anywhere, it never fetches anything
// (NONET), keeps quiet about errors and recovers from broken markup. The encoding is
// always ours to give, whatever the page declares.
constexpr int ParseOptions = HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET
                             | HTML_PARSE_IGNORE_ENC | HTML_PARSE_COMPACT;

// Only the start of a page is searched for its <meta charset>, as browsers do.
constexpr qsizetype MetaSearchBytes = 4096;

// The parser's own costs, bounded: it compares every attribute of a tag with all those
// before it, and takes about a microsecond an element. A page is read up to its 20,000th
// element, each tag with its first 32 attributes, which any real page stays far within.
constexpr int MaxElements = 20000;
constexpr int MaxAttributes = 32;

struct DocFree
{
    void operator()(xmlDoc *doc) const { xmlFreeDoc(doc); }
};
using Document = std::unique_ptr<xmlDoc, DocFree>;

struct ContextFree
{
    void operator()(htmlParserCtxt *context) const { htmlFreeParserCtxt(context); }
};

struct ElementBudget
{
    startElementSAXFunc buildElement = nullptr;
    int elements = 0;
};

void countedStartElement(void *context, const xmlChar *name, const xmlChar **attributes)
{
    auto *parser = static_cast<htmlParserCtxt *>(context);
    auto *budget = static_cast<ElementBudget *>(parser->_private);
    if (++budget->elements > MaxElements) {
        xmlStopParser(parser);
        return;
    }
    budget->buildElement(context, name, attributes);
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Past one attribute of a tag that starts at p: a name with an optional value, quoted or
// bare.
qsizetype skipAttribute(const char *s, qsizetype size, qsizetype p)
{
    ++p; // a name's first character may be "="
    while (p < size && !isSpace(s[p]) && s[p] != '/' && s[p] != '>' && s[p] != '=')
        ++p;
    while (p < size && isSpace(s[p]))
        ++p;
    if (p >= size || s[p] != '=')
        return p;
    ++p;
    while (p < size && isSpace(s[p]))
        ++p;
    if (p < size && (s[p] == '"' || s[p] == '\'')) {
        const char quote = s[p++];
        while (p < size && s[p] != quote)
            ++p;
        return p < size ? p + 1 : p;
    }
    while (p < size && !isSpace(s[p]) && s[p] != '>')
        ++p;
    return p;
}

// The page with every start tag cut to its first MaxAttributes attributes, read the way
// an html tokenizer reads a tag: a name, then attributes, up to the ">" outside quotes.
QByteArray boundAttributes(const QByteArray &page)
{
    const char *s = page.constData();
    const qsizetype size = page.size();
    QByteArray out;
    qsizetype copied = 0;
    for (qsizetype pos = 0; pos + 1 < size; ++pos) {
        if (s[pos] != '<' || !isLetter(s[pos + 1]))
            continue;
        qsizetype p = pos + 1;
        while (p < size && !isSpace(s[p]) && s[p] != '/' && s[p] != '>')
            ++p;
        int attributes = 0;
        qsizetype cutFrom = -1;
        while (p < size && s[p] != '>') {
            if (isSpace(s[p]) || s[p] == '/') {
                ++p;
                continue;
            }
            if (++attributes > MaxAttributes && cutFrom < 0)
                cutFrom = p;
            p = skipAttribute(s, size, p);
        }
        if (cutFrom >= 0) {
            out.append(s + copied, cutFrom - copied);
            copied = p; // from the ">" on, if there is one
        }
        pos = p - 1;
    }
    if (copied == 0)
        return page;
    out.append(s + copied, size - copied);
    return out;
}

Document parse(const QByteArray &page, const char *encoding)
{
    xmlInitParser();
    const QByteArray bytes = boundAttributes(page);
    const std::unique_ptr<htmlParserCtxt, ContextFree> parser(
        htmlCreateMemoryParserCtxt(bytes.constData(), int(bytes.size())));
    if (!parser || !parser->sax)
        return {};
    ElementBudget budget;
    budget.buildElement = parser->sax->startElement;
    parser->sax->startElement = countedStartElement;
    parser->_private = &budget;
    return Document(htmlCtxtReadMemory(parser.get(), bytes.constData(), int(bytes.size()), nullptr, encoding,
                                       ParseOptions));
}

bool is(const xmlNode *node, const char *name)
{
    return node->type == XML_ELEMENT_NODE && xmlStrcasecmp(node->name, reinterpret_cast<const xmlChar *>(name)) == 0;
}

QByteArray attribute(const xmlNode *node, const char *name)
{
    xmlChar *value = xmlGetProp(node, reinterpret_cast<const xmlChar *>(name));
    const QByteArray text(reinterpret_cast<const char *>(value));
    xmlFree(value);
    return text.trimmed();
}

bool decodable(const QByteArray &charset)
{
    return !charset.isEmpty() && QStringDecoder(charset.constData()).isValid();
}

// The charset named in a Content-Type value ("text/html; charset=gbk").
QByteArray charsetParameter(const QByteArray &contentType)
{
    const qsizetype at = contentType.toLower().indexOf("charset=");
    if (at < 0)
        return {};
    QByteArray value = contentType.mid(at + 8);
    const qsizetype end = value.indexOf(';');
    if (end >= 0)
        value.truncate(end);
    value = value.trimmed();
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\''))
        value = value.mid(1, value.size() - 2);
    return value.trimmed();
}

// Visits the nodes below `top` in document order without recursion, so that no depth of
// nesting can exhaust the stack: enter(node) says whether to go into the node's children,
// and leave(node) follows the children of every node entered.
template<typename Enter, typename Leave>
void walk(const xmlNode *top, Enter &&enter, Leave &&leave)
{
    const xmlNode *node = top ? top->children : nullptr;
    while (node) {
        if (enter(node)) {
            if (node->children) {
                node = node->children;
                continue;
            }
            leave(node);
        }
        while (!node->next && node->parent != top) {
            node = node->parent;
            leave(node);
        }
        node = node->next;
    }
}

// The first charset a <meta> element at the start of the page names, read with the parser
// itself: the bytes are taken as Latin-1, where every ASCII name reads the same.
QByteArray metaCharset(const QByteArray &page)
{
    const Document doc = parse(page.left(MetaSearchBytes), "ISO-8859-1");
    QByteArray charset;
    // A document begins as a node does, so the walk can start from it.
    walk(reinterpret_cast<const xmlNode *>(doc.get()), [&](const xmlNode *node) {
        if (charset.isEmpty() && is(node, "meta")) {
            charset = attribute(node, "charset");
            if (charset.isEmpty() && attribute(node, "http-equiv").toLower() == "content-type")
                charset = charsetParameter(attribute(node, "content"));
        }
        return charset.isEmpty() && node->type == XML_ELEMENT_NODE;
    }, [](const xmlNode *) {});
    return charset;
}

// A charset label as a browser reads it: the GBK family is read as GB18030, which holds
// it; UTF-16 labels in one spelling.
QByteArray browserCharset(const QByteArray &label)
{
    const QByteArray name = label.trimmed().toLower();
    static const QByteArrayList gbk{"gb2312", "gbk", "x-gbk", "gb_2312", "gb_2312-80", "chinese",
                                    "csgb2312", "csiso58gb231280", "iso-ir-58", "gb18030"};
    if (gbk.contains(name))
        return "GB18030";
    if (name == "utf-16" || name == "utf-16le")
        return "UTF-16LE";
    if (name == "utf-16be")
        return "UTF-16BE";
    return name;
}

QByteArray bomCharset(const QByteArray &page)
{
    if (page.startsWith("\xEF\xBB\xBF"))
        return "UTF-8";
    if (page.startsWith("\xFF\xFE"))
        return "UTF-16LE";
    if (page.startsWith("\xFE\xFF"))
        return "UTF-16BE";
    return {};
}

QString decode(const QByteArray &page, const QByteArray &charset)
{
    // The decoder drops a byte-order mark at the start.
    QStringDecoder decoder(charset.constData());
    return decoder.decode(page);
}

enum class Kind { Inline, Skipped, Block, Paragraph, Break, Cell, Preformatted };

// The line breaks an element of that kind asks for before and after it.
int breaksAround(Kind kind)
{
    return kind == Kind::Paragraph ? 2 : kind == Kind::Block || kind == Kind::Preformatted ? 1 : 0;
}

// How an element takes part in the displayed text.
Kind kindOf(const xmlNode *node)
{
    static constexpr const char *Skipped[] = {"script", "style", "noscript", "template", "head", "title", "iframe",
                                              "object", "embed", "select", "datalist", "textarea"};
    static constexpr const char *Blocks[] = {
        "address", "article", "aside",  "blockquote", "body",   "caption", "center", "dd",     "details",
        "dialog",  "dir",     "div",    "dl",         "dt",     "fieldset", "figcaption", "figure", "footer",
        "form",    "h1",      "h2",     "h3",         "h4",     "h5",      "h6",     "header", "hgroup",
        "hr",      "legend",  "li",     "main",       "menu",   "nav",     "ol",     "section", "summary",
        "table",   "tr",      "ul"};
    static constexpr const char *Preformatted[] = {"pre", "listing", "plaintext", "xmp"};
    for (const char *name : Skipped) {
        if (is(node, name))
            return Kind::Skipped;
    }
    if (xmlHasProp(node, reinterpret_cast<const xmlChar *>("hidden")))
        return Kind::Skipped;
    if (is(node, "p"))
        return Kind::Paragraph;
    if (is(node, "br"))
        return Kind::Break;
    if (is(node, "td") || is(node, "th"))
        return Kind::Cell;
    for (const char *name : Preformatted) {
        if (is(node, name))
            return Kind::Preformatted;
    }
    for (const char *name : Blocks) {
        if (is(node, name))
            return Kind::Block;
    }
    return Kind::Inline;
}

// Collects the displayed text: line breaks that blocks ask for are held back until more
// text follows (none at the start or the end, the most asked for between two texts), and
// white space outside <pre> shrinks to one space, none at the start or end of a line.
class TextBuilder
{
public:
    void text(const xmlChar *utf8, bool preformatted)
    {
        const QString text = QString::fromUtf8(reinterpret_cast<const char *>(utf8));
        for (qsizetype pos = 0; pos < text.size(); ++pos) {
            QChar ch = text[pos];
            if (preformatted) {
                if (ch == u'\r' || ch == u'\n') {
                    if (ch == u'\r' && pos + 1 < text.size() && text[pos + 1] == u'\n')
                        ++pos;
                    lineBreak();
                    continue;
                }
            } else if (ch == u' ' || ch == u'\t' || ch == u'\n' || ch == u'\r' || ch == u'\f') {
                m_pendingSpace = m_lineHasText;
                continue;
            }
            flushBreaks();
            if (m_pendingSpace)
                m_out.append(u' ');
            m_pendingSpace = false;
            if (ch == QChar::Nbsp)
                ch = u' ';
            m_out.append(ch);
            m_lineHasText = true;
        }
    }

    void requireBreaks(int count)
    {
        if (count == 0)
            return;
        m_pendingBreaks = qMax(m_pendingBreaks, count);
        m_pendingSpace = false;
    }

    void lineBreak()
    {
        flushBreaks();
        m_out.append(u"\r\n");
        m_lineHasText = false;
        m_pendingSpace = false;
    }

    void cellSeparator()
    {
        flushBreaks();
        m_out.append(u'\t');
        m_lineHasText = false;
        m_pendingSpace = false;
    }

    QString result() const { return m_out; }

private:
    void flushBreaks()
    {
        if (m_pendingBreaks > 0 && !m_out.isEmpty()) {
            for (int n = 0; n < m_pendingBreaks; ++n)
                m_out.append(u"\r\n");
            m_lineHasText = false;
            m_pendingSpace = false;
        }
        m_pendingBreaks = 0;
    }

    QString m_out;
    int m_pendingBreaks = 0;
    bool m_pendingSpace = false;
    bool m_lineHasText = false;
};

const xmlNode *bodyOf(const xmlDoc *doc)
{
    const xmlNode *root = xmlDocGetRootElement(doc);
    for (const xmlNode *node = root ? root->children : nullptr; node; node = node->next) {
        if (is(node, "body"))
            return node;
    }
    return root;
}

bool previousIsCell(const xmlNode *node)
{
    for (const xmlNode *sibling = node->prev; sibling; sibling = sibling->prev) {
        if (sibling->type == XML_ELEMENT_NODE)
            return is(sibling, "td") || is(sibling, "th");
    }
    return false;
}

// Walks the tree without recursion, so that no depth of nesting can exhaust the stack.
QString innerText(const xmlNode *top)
{
    TextBuilder builder;
    int preformatted = 0;
    const auto enter = [&](const xmlNode *node) {
        if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
            builder.text(node->content, preformatted > 0);
            return false;
        }
        if (node->type != XML_ELEMENT_NODE)
            return false;
        const Kind kind = kindOf(node);
        if (kind == Kind::Skipped)
            return false;
        if (kind == Kind::Break) {
            builder.lineBreak();
            return false;
        }
        if (kind == Kind::Cell && previousIsCell(node))
            builder.cellSeparator();
        preformatted += kind == Kind::Preformatted;
        builder.requireBreaks(breaksAround(kind));
        return true;
    };
    walk(top, enter, [&](const xmlNode *node) {
        const Kind kind = kindOf(node);
        preformatted -= kind == Kind::Preformatted;
        builder.requireBreaks(breaksAround(kind));
    });
    return builder.result();
}

} // namespace

QByteArray PageCharset(const QByteArray &page, const QByteArray &headerCharset, bool html)
{
    const QByteArray bom = bomCharset(page);
    if (!bom.isEmpty())
        return bom;
    if (const QByteArray header = browserCharset(headerCharset); decodable(header))
        return header;
    if (html) {
        QByteArray meta = browserCharset(metaCharset(page));
        // A page that could be read for its <meta> is not UTF-16, whatever it says.
        if (meta.startsWith("UTF-16"))
            meta = "UTF-8";
        if (decodable(meta))
            return meta;
    }
    // Undeclared: UTF-8 when the bytes are UTF-8, else the Simplified Chinese system's own.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString asUtf8 = utf8.decode(page);
    return utf8.hasError() ? QByteArray("GB18030") : QByteArray("UTF-8");
}

QString DisplayedText(const QByteArray &page, const QByteArray &headerCharset)
{
    const QByteArray utf8 = decode(page, PageCharset(page, headerCharset, true)).toUtf8();
    const Document doc = parse(utf8, "UTF-8");
    if (!doc)
        return {};
    return innerText(bodyOf(doc.get()));
}

QString PlainPageText(const QByteArray &page, const QByteArray &headerCharset)
{
    return decode(page, PageCharset(page, headerCharset, false));
}

QByteArray ContentTypeCharset(const QByteArray &contentType)
{
    return charsetParameter(contentType);
}

} // namespace rainquill
