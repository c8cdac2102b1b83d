#include "update/pagetext.h"
#include "update/versionpage.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace rainquill;

// The version page: its displayed text, in its character set, from pages of any shape,
// and the build, version and address read from that text.
class TestVersionPage : public QObject
{
    Q_OBJECT

private slots:
    // The page's text read as build, version and address, then the address offered for
    // download ("" when it is not the page). Only a web address is offered.
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("read");
        const auto at = [](const char *url) { return QStringLiteral("build:1 version:V url:") + url; };
        QTest::newRow("worked example") << "build:2300 version:V2.3.0 url:http://x/a.zip"
                                        << "2300|V2.3.0 |http://x/a.zip|http://x/a.zip";
        QTest::newRow("capitals do not count") << "Build:2300 version:V URL:u" << "";
        QTest::newRow("inside a longer word") << "builder:2300 version:V url:u" << "0|V |u|";
        QTest::newRow("version right after build") << "build:version:V url:u" << "";
        QTest::newRow("empty version") << "build:1 version:url:u" << "1||u|";
        QTest::newRow("url at the very end") << "build:1 version:V url" << "";
        QTest::newRow("blank between digits") << "build:2 300abc version:V url:u" << "2300|V |u|";
        QTest::newRow("line breaks kept") << "build:2201\r\nversion:V\r\nurl:u" << "2201|V\r\n|u|";
        QTest::newRow("https, blanks around the address")
            << at(" https://x.example/a.zip\r\n") << "1|V | https://x.example/a.zip\r\n|https://x.example/a.zip";
        QTest::newRow("a local file") << at("file:///etc/passwd") << "1|V |file:///etc/passwd|";
        QTest::newRow("script") << at("javascript:alert(1)") << "1|V |javascript:alert(1)|";
        QTest::newRow("no host") << at("http:///a") << "1|V |http:///a|";
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(QString, read);
        const std::optional<VersionPage> page = ParseVersionPage(text);
        const QString offered = page ? u'|' + DownloadAddress(page->url).toString() : QString();
        QCOMPARE(page ? QString::number(page->build) + u'|' + page->version + u'|' + page->url + offered : "", read);
    }

    void pageText_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QByteArray>("contentType");
        QTest::addColumn<QString>("text");
        const auto row = [](const char *name, const QByteArray &page, const QString &text,
                            const QByteArray &contentType = "text/html") {
            QTest::newRow(name) << page << contentType << text;
        };
        const QByteArray gbkVersion("V2.3.0\xb0\xe6");
        row("paragraphs and breaks end lines", "<div>x<p>build:2200</p><p>5 version:V</p>a<br>b</div>",
            "x\r\n\r\nbuild:2200\r\n\r\n5 version:V\r\n\r\na\r\nb");
        row("blocks, cells, pre", "<div>a</div>b<table><tr><td>1<td>2</table><pre> x\n y</pre>",
            "a\r\nb\r\n1\t2\r\n x\r\n y");
        row("white space, script, style, entities",
            "<head><title>t</title><style>p{}</style></head>\n  a \t\n b<script>x=1</script>  <i> &lt;c&gt; "
            "&amp;&#x41;&nbsp;&copy; </i>\n",
            "a b <c> &A ©");
        row("charset from the header", "<p>" + gbkVersion, "V2.3.0版", "text/html; charset=GBK");
        row("charset from meta", "<meta charset=\"gb18030\"><p>" + gbkVersion, "V2.3.0版");
        row("header before meta", "<meta charset=gbk>\xe7\x89\x88", "版", "text/html;charset=utf-8");
        row("byte-order mark", QByteArray("\xff\xfe<\0p\0>\0a\0", 10), "a");
        // As a browser reads them: a byte-order mark over the header, UTF-16 in <meta> on a
        // page of single bytes is UTF-8, gb2312 holds what GB18030 holds, and a page that
        // declares nothing is UTF-8 when it can be, else the Chinese system's GB18030.
        row("byte-order mark over the header", "\xef\xbb\xbf\xe7\x89\x88", "版", "text/html; charset=gbk");
        row("meta names UTF-16", "<meta charset=utf-16>\xe7\x89\x88", "版");
        row("gb2312 label read as GB18030", "<meta charset=gb2312>\x81\x30\x84\x38", "©");
        row("undeclared, not UTF-8", "<p>" + gbkVersion, "V2.3.0版");
        row("undeclared UTF-8", "<p>\xe7\x89\x88", "版");
        row("charset from http-equiv",
            "<meta http-equiv=Content-Type content='text/html; charset=windows-1252'><p>\xb0\xe6", "°æ");
        row("a header of the charset alone", "<p>\xb0\xe6", "°æ", "charset=windows-1252");
        row("forty words, no tag among them", "<p>" + QByteArray("ab ").repeated(40) + "end",
            QString("ab ").repeated(40) + "end");
        // A tag is read up to its 32nd attribute: a charset after that is not seen.
        QByteArray attributes;
        for (int n = 1; n < 32; ++n)
            attributes += " a" + QByteArray::number(n) + "=\"1 /\"";
        row("charset as the 32nd attribute", "<meta" + attributes + " charset=windows-1252><p>\xb0\xe6", "°æ");
        row("charset as the 33rd attribute", "<meta/" + attributes + " a=1 charset=windows-1252><p>\xb0\xe6", "版");
        row("plain text as it is", gbkVersion + "<p>\n", "V2.3.0版<p>\n", "text/plain; charset=gbk");
    }
    void pageText()
    {
        QFETCH(QByteArray, page);
        QFETCH(QByteArray, contentType);
        QFETCH(QString, text);
        const QByteArray charset = ContentTypeCharset(contentType);
        QCOMPARE(contentType.startsWith("text/plain") ? PlainPageText(page, charset) : DisplayedText(page, charset), text);
    }

    // Pages made to hurt: nothing they name is opened, and every one is read to its end.
    void hostilePages_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QString>("textStart");
        const auto mebibyteOf = [](const QByteArray &part) { return part.repeated((1 << 20) / part.size() + 1); };
        QTest::newRow("stylesheets from a device and a named pipe")
            << QByteArray("<link rel=stylesheet href=file:///dev/zero><link rel=stylesheet href=\"file://FIFO\">build")
            << "build";
        QTest::newRow("wide table cells") << "<tr>" + mebibyteOf("<td colspan=100000>x") << "x\tx";
        for (const char *tag : {"div", "a"}) // nested to the parser's limit; flat and many
            QTest::newRow(tag) << "z" + mebibyteOf(QByteArray("<") + tag + ">") << "z";
        QByteArray attributes = "<p ";
        for (int n = 0; attributes.size() < (1 << 20); ++n)
            attributes += "a" + QByteArray::number(n) + "=1 ";
        QTest::newRow("one tag's attributes") << attributes + ">build" << "build";
        QTest::newRow("malformed, unterminated") << "a" + mebibyteOf("</div><&#;<!<?<p title='") + "<!--" << "a";
    }
    void hostilePages()
    {
        QFETCH(QByteArray, page);
        QFETCH(QString, textStart);
        QTemporaryDir dir;
        const QByteArray fifo = QFile::encodeName(dir.filePath(QStringLiteral("fifo")));
        QCOMPARE(mkfifo(fifo.constData(), 0600), 0);
        QVERIFY(DisplayedText(page.replace("FIFO", fifo)).startsWith(textStart));
    }

};

QTEST_APPLESS_MAIN(TestVersionPage)
#include "tst_versionpage.moc"
