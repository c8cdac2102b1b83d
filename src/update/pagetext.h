#pragma once

#include <QByteArray>
#include <QString>

namespace rainquill {

// The character set of a page, found as a browser finds it: a byte-order mark, else the
// one its Content-Type header names, else its <meta charset> (or http-equiv Content-Type;
// UTF-16 named there means UTF-8), else UTF-8 for bytes that are UTF-8 and GB18030 for any
// others. gb2312, gbk and their aliases read as GB18030; names that no decoder knows are
// passed over.
QByteArray PageCharset(const QByteArray &page, const QByteArray &headerCharset, bool html);

// The text a browser shows for an html page's body (its innerText): block elements and
// <br> end lines (written CR LF, a paragraph with an empty line after it), table cells are
// parted by TAB, script and style are not text, entities are decoded and white space
// collapses as a browser collapses it, but in <pre>. Nothing the page names is loaded and
// no layout is done: time and memory grow with the page and no faster.
QString DisplayedText(const QByteArray &page, const QByteArray &headerCharset = {});

// The charset parameter of a Content-Type header value ("text/html; charset=gbk").
QByteArray ContentTypeCharset(const QByteArray &contentType);

// A plain-text page as it is, in its character set (header, byte-order mark, UTF-8).
QString PlainPageText(const QByteArray &page, const QByteArray &headerCharset = {});

} // namespace rainquill
