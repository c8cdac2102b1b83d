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
    // The page's text read as build, version and address ("" when it is not the page).
    // Only a web address is offered for download.
    void downloadAddress_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QUrl>("address");
        QTest::newRow("http") << "http://x.example/a.zip" << QUrl("http://x.example/a.zip");
        QTest::newRow("https, blanks around") << " https://x.example/a.zip\r\n" << QUrl("https://x.example/a.zip");
        QTest::newRow("a local file") << "file:///etc/passwd" << QUrl();
        QTest::newRow("script") << "javascript:alert(1)" << QUrl();
        QTest::newRow("no host") << "http:///a" << QUrl();
    }
    void downloadAddress()
    {
        QFETCH(QString, url);
        QFETCH(QUrl, address);
        QCOMPARE(DownloadAddress(url), address);
    }

    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("read");
        QTest::newRow("worked example") << "build:2300 version:V2.3.0 url:http://x/a.zip" << "2300|V2.3.0 |http://x/a.zip";
        QTest::newRow("capitals do not count") << "Build:2300 version:V URL:u" << "";
        QTest::newRow("inside a longer word") << "builder:2300 version:V url:u" << "0|V |u";
        QTest::newRow("version right after build") << "build:version:V url:u" << "";
        QTest::newRow("empty version") << "build:1 version:url:u" << "1||u";
        QTest::newRow("url at the very end") << "build:1 version:V url" << "";
        QTest::newRow("blank between digits") << "build:2 300abc version:V url:u" << "2300|V |u";
        QTest::newRow("line breaks kept") << "build:2201\r\nversion:V\r\nurl:u" << "2201|V\r\n|u";
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(QString, read);
        const std::optional<VersionPage> page = ParseVersionPage(text);
        QCOMPARE(page ? QString::number(page->build) + u'|' + page->version + u'|' + page->url : QString(), read);
    }

    void pageText_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QByteArray>("contentType");
        QTest::addColumn<QString>("text");
        const QByteArray html = "text/html", gbkVersion("V2.3.0\xb0\xe6");
        QTest::newRow("paragraphs and breaks end lines")
            << QByteArray("<div>x<p>build:2200</p><p>5 version:V</p>a<br>b</div>") << html
            << "x\r\n\r\nbuild:2200\r\n\r\n5 version:V\r\n\r\na\r\nb";
        QTest::newRow("blocks, cells, pre") << QByteArray("<div>a</div>b<table><tr><td>1<td>2</table><pre> x\n y</pre>")
                                            << html << "a\r\nb\r\n1\t2\r\n x\r\n y";
        QTest::newRow("white space, script, style, entities")
            << QByteArray("<head><title>t</title><style>p{}</style></head>\n  a \t\n b<script>x=1</script>  <i> &lt;c&gt; "
                          "&amp;&#x41;&nbsp;&copy; </i>\n")
            << html << "a b <c> &A ©";
        QTest::newRow("charset from the header") << "<p>" + gbkVersion << QByteArray("text/html; charset=GBK")
                                                 << "V2.3.0版";
        QTest::newRow("charset from meta") << "<meta charset=\"gb18030\"><p>" + gbkVersion << html << "V2.3.0版";
        QTest::newRow("header before meta") << QByteArray("<meta charset=gbk>\xe7\x89\x88")
                                            << QByteArray("text/html;charset=utf-8") << "版";
        QTest::newRow("byte-order mark") << QByteArray("\xff\xfe<\0p\0>\0a\0", 10) << html << "a";
        // As a browser reads them: a byte-order mark over the header, UTF-16 in <meta> on a
        // page of single bytes is UTF-8, gb2312 holds what GB18030 holds, and a page that
        // declares nothing is UTF-8 when it can be, else the Chinese system's GB18030.
        QTest::newRow("byte-order mark over the header") << QByteArray("\xef\xbb\xbf\xe7\x89\x88")
                                                         << QByteArray("text/html; charset=gbk") << "版";
        QTest::newRow("meta names UTF-16") << QByteArray("<meta charset=utf-16>\xe7\x89\x88") << html << "版";
        QTest::newRow("gb2312 label read as GB18030") << QByteArray("<meta charset=gb2312>\x81\x30\x84\x38") << html
                                                      << "©";
        QTest::newRow("undeclared, not UTF-8") << "<p>" + gbkVersion << html << "V2.3.0版";
        QTest::newRow("undeclared UTF-8") << QByteArray("<p>\xe7\x89\x88") << html << "版";
        QTest::newRow("charset from http-equiv")
            << QByteArray("<meta http-equiv=Content-Type content='text/html; charset=windows-1252'><p>\xb0\xe6") << html
            << "°æ";
        QTest::newRow("a header of the charset alone") << QByteArray("<p>\xb0\xe6") << QByteArray("charset=windows-1252")
                                                       << "°æ";
        // A tag is read up to its 32nd attribute: a charset after that is not seen.
        QByteArray attributes;
        for (int n = 1; n < 32; ++n)
            attributes += " a" + QByteArray::number(n) + "=\"1 /\"";
        QTest::newRow("charset as the 32nd attribute") << "<meta" + attributes + " charset=windows-1252><p>\xb0\xe6" << html
                                                       << "°æ";
        QTest::newRow("charset as the 33rd attribute") << "<meta/" + attributes + " a=1 charset=windows-1252><p>\xb0\xe6"
                                                       << html << "版";
        QTest::newRow("plain text as it is") << gbkVersion + "<p>\n" << QByteArray("text/plain; charset=gbk")
                                             << "V2.3.0版<p>\n";
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
