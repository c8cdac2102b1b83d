#include "engine/colortext.h"
#include "engine/conversion.h"
#include "engine/linebreaks.h"
#include "engine/preview.h"
#include "engine/systemmemory.h"
#include "engine/textgroups.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace rainquill;

namespace {

Rgb rgb(uint value)
{
    return {int(value >> 16), int((value >> 8) & 0xff), int(value & 0xff)};
}

CodeRequest request(const QString &text, uint from, uint to, double step, OutputFormat format,
                    const Template &tpl = {})
{
    return {text, rgb(from), rgb(to), step, format,
            format == OutputFormat::Custom ? tpl : TemplateFor(format)};
}

// What Convert gives: the refusal's number, or -1 and the code.
std::pair<int, QString> converted(const QString &text, double step, qint64 beside = 0, bool complete = true)
{
    const Template tpl{"[", complete ? "]" : "", "]"};
    const auto outcome = Convert(request(text, 0, 0xFFFFFF, step, OutputFormat::Custom, tpl), beside);
    if (const Refusal *refusal = std::get_if<Refusal>(&outcome))
        return {int(*refusal), {}};
    const Conversion &c = std::get<Conversion>(outcome);
    return {-1, QString::number(c.characters.count()) + u' ' + c.code.left(40)};
}

// The address space the process has mapped, in bytes.
qint64 mapped()
{
    QFile status(QStringLiteral("/proc/self/status"));
    const QByteArray text = status.open(QIODevice::ReadOnly) ? status.readAll() : QByteArray();
    const qsizetype at = text.indexOf("VmSize:") + 7;
    return text.mid(at, text.indexOf('\n', at) - at).trimmed().split(' ').value(0).toLongLong() * 1024;
}

// A code asked for: the text, its two colours, step and format; and the code written.
struct CodeCase
{
    QString text;
    uint from, to;
    double step;
    OutputFormat format;
    QString code;
};

// A request to Convert: the text, its step, the memory held beside, whether the template
// is complete; the refusal's number, or -1 and the character count and the code's start.
struct Ask
{
    QString text;
    double step;
    qint64 beside;
    bool complete;
    int refusal;
    QString code;
};

} // namespace

// The code and the preview: the worked examples, the limit, and the preview's colours
// against the code's.
class TestMarkup : public QObject
{
    Q_OBJECT

private slots:
    // The one line-break rule: every kind of break written as CR LF, a CR LF kept whole.
    void lineBreaks_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("written");
        QTest::newRow("none") << "a b" << "a b";
        QTest::newRow("CR LF") << "a\r\nb" << "a\r\nb";
        QTest::newRow("CR") << "a\rb" << "a\r\nb";
        QTest::newRow("LF") << "a\nb" << "a\r\nb";
        QTest::newRow("LF CR is two") << "\n\r" << "\r\n\r\n";
        QTest::newRow("CR, CR LF") << "\r\r\n" << "\r\n\r\n";
        QTest::newRow("line separator") << "a\u2028b" << "a\r\nb";
        QTest::newRow("paragraph separator at the end") << "a\u2029" << "a\r\n";
        QTest::newRow("a CR last") << "a\r" << "a\r\n";
    }

    void lineBreaks()
    {
        QFETCH(QString, text);
        QFETCH(QString, written);
        QCOMPARE(WithCrLfBreaks(text), written);
    }

    void generateCode_data()
    {
        QTest::addColumn<CodeCase>("c");
        const OutputFormat ubb = OutputFormat::Ubb, html = OutputFormat::Html;
        QTest::newRow("abc") << CodeCase{"abc", 0x000000, 0xFFFFFF, 1, ubb,
                                         "[color=#555555]a[/color][color=#AAAAAA]b[/color][color=#FFFFFF]c[/color]"};
        QTest::newRow("line break html")
            << CodeCase{"a b\r\nc", 0xFF0000, 0x0000FF, 1, html,
                        "<font color=#D4002A>a</font>&nbsp;<font color=#800080>b</font>"
                        "<br /><font color=#0000FF>c</font>"};
        QTest::newRow("whitespace alone, html")
            << CodeCase{"a \t\r\nb", 0, 0xFFFFFF, 1, html,
                        "<font color=#2A2A2A>a</font>&nbsp;<br /><br /><br /><font color=#FFFFFF>b</font>"};
        QTest::newRow("spaces, and a line break in a group, html")
            << CodeCase{"ab  cd\t\r\ne", 0, 0xFFFFFF, 2, html,
                        "<font color=#1A1A1A>ab</font>&nbsp;&nbsp;<font color=#808080>cd</font>"
                        "<font color=#B2B2B2>\t<br /></font><font color=#E6E6E6>e</font>"};
        QTest::newRow("emoji groups of two")
            << CodeCase{"😀😀😀", 0, 0xFFFFFF, 2, ubb, "[color=#555555]😀😀[/color][color=#FFFFFF]😀[/color]"};
        // Counted as one text, the code's "]" and the accent that starts the text are one
        // character.
        QTest::newRow("a leading accent joins the markup")
            << CodeCase{"\u0301a", 0, 0xFFFFFF, 1, ubb, "[color=#808080]\u0301[/color][color=#FFFFFF]a[/color]"};
        QTest::newRow("markup characters html")
            << CodeCase{"<&>", 0, 0xFFFFFF, 1, html,
                        "<font color=#555555>&lt;</font><font color=#AAAAAA>&amp;</font>"
                        "<font color=#FFFFFF>&gt;</font>"};
    }

    void generateCode()
    {
        QFETCH(CodeCase, c);
        const CodeRequest r = request(c.text, c.from, c.to, c.step, c.format);
        QCOMPARE(GenerateCode(r), std::optional<QString>(c.code));
        QCOMPARE(CodeCharacterCount(r), CharacterCount(c.code));
    }

    // A character is what the reader sees as one: emoji sequences, flags, accents and
    // jamo stay whole in a group, while CR LF stays two.
    void charactersAsSeen_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("step");
        QTest::addColumn<QStringList>("groups");
        QTest::newRow("thumb with skin tone") << "👍🏽" << 1.0 << QStringList{"👍🏽"};
        QTest::newRow("family joined by ZWJ") << "👨‍👩‍👧" << 1.0 << QStringList{"👨‍👩‍👧"};
        QTest::newRow("flag") << "🇨🇳" << 1.0 << QStringList{"🇨🇳"};
        QTest::newRow("flag after an emoji") << "😀🇨🇳" << 1.0 << QStringList{"😀", "🇨🇳"};
        QTest::newRow("e and an accent") << "e\u0301x" << 1.0 << QStringList{"e\u0301", "x"};
        QTest::newRow("Hangul jamo") << "\u1112\u1161\u11ABa" << 1.0 << QStringList{"\u1112\u1161\u11AB", "a"};
        QTest::newRow("keycap") << "1\uFE0F\u20E3" << 1.0 << QStringList{"1\uFE0F\u20E3"};
        QTest::newRow("CR LF two") << "a\r\nb" << 1.0 << QStringList{"a", "\r", "\n", "b"};
        QTest::newRow("groups of two") << "👍🏽a🇨🇳b\u0301c" << 2.0 << QStringList{"👍🏽a", "🇨🇳b\u0301", "c"};
    }
    void charactersAsSeen()
    {
        QFETCH(QString, text);
        QFETCH(double, step);
        QFETCH(QStringList, groups);
        const Characters characters(text);
        const qsizetype L = characters.count();
        QStringList cut;
        ForEachGroup(characters, WholeStep(step, L), [&](qsizetype, QStringView g) { cut.append(g.toString()); });
        QCOMPARE(cut, groups);
        const QString code = GenerateCode(request(text, 0, 0xFFFFFF, step, OutputFormat::Ubb)).value();
        QCOMPARE(code.count(QStringLiteral("[color=")), groups.size() - text.count(u'\r') - text.count(u'\n'));
        // A piece of a long paragraph ends between characters: where the place asked for
        // is inside one, at the start of that character (past the first).
        for (qsizetype pos = 1; pos < text.size(); ++pos) {
            const qsizetype cutAt = CharacterStartAtOrBefore(text, pos, 0);
            if (cutAt != pos)
                QCOMPARE(CharacterCount(text.left(cutAt)) + CharacterCount(text.mid(cutAt)), L);
        }
    }

    // Text from outside as the window shows it: at most 256 characters of it, cut between
    // two characters, "…" after a cut; a character of more than 1024 code units is not
    // taken whole, and only the start of a long text is looked at.
    void boundedText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        const QString a255(255, u'a');
        const QString thumb = QStringLiteral("👍🏽");
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("256 kept whole") << QString(256, u'a') << QString(256, u'a');
        QTest::newRow("257 cut after 256") << QString(257, u'a') << QString(256, u'a') + u'…';
        QTest::newRow("600,000 cut after 256") << QString(600000, u'V') << QString(256, u'V') + u'…';
        QTest::newRow("the last character kept whole") << a255 + thumb + u'b' << a255 + thumb + u'…';
        QTest::newRow("256 emoji kept whole") << thumb.repeated(256) << thumb.repeated(256);
        QTest::newRow("a flag not split") << a255 + "🇨🇳🇨🇳" << a255 + "🇨🇳…";
        QTest::newRow("CR LF two characters") << a255 + "\r\n" << a255 + "\r…";
        QTest::newRow("one character of 2,000 accents") << u'e' + QString(2000, QChar(0x301)) + u'x' << QStringLiteral("…");
        // The 201st character runs from unit 800 past unit 1024, where a skin tone (two
        // units) still belongs to it.
        QTest::newRow("a mark of two units across the bound")
            << thumb.repeated(200) + u'e' + QString(223, QChar(0x301)) + "🏽x" << thumb.repeated(200) + u'…';
        QTest::newRow("1024 units in 256 characters")
            << thumb.repeated(255) + u'e' + QString(3, QChar(0x301)) << thumb.repeated(255) + u'e' + QString(3, QChar(0x301));
        QTest::newRow("1025 units in 256 characters")
            << thumb.repeated(255) + u'e' + QString(4, QChar(0x301)) << thumb.repeated(255) + u'…';
    }
    void boundedText()
    {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QCOMPARE(BoundedText(text), shown);
    }

    // The one request check: each refusal in its order, each at its bound.
    void convert_data()
    {
        QTest::addColumn<Ask>("ask");
        const QString over(MaxTextLength + 1, u'a');
        const qint64 huge = qint64(1) << 62;
        QTest::newRow("no text before the template") << Ask{"", 1, huge, false, 0, ""};
        QTest::newRow("the template before the length") << Ask{over, 1, huge, false, 1, ""};
        QTest::newRow("one character too many") << Ask{over, 1e7, 0, true, 2, ""};
        QTest::newRow("the last character in one more unit")
            << Ask{QString(MaxTextLength - 1, u'a') + "e\u0301", 5e6, 0, true, -1,
                   "10000000 [#000000]" + QString(31, u'a')};
        QTest::newRow("the code before the memory") << Ask{over.chopped(1), 1, huge, true, 3, ""};
        QTest::newRow("what is held beside") << Ask{"abc", 1, huge, true, 4, ""};
        QTest::newRow("converted") << Ask{"a\r\nb", 1, 0, true, -1, "4 [#404040]a]\r\n[#FFFFFF]b]"};
    }
    void convert()
    {
        QFETCH(Ask, ask);
        QCOMPARE(converted(ask.text, ask.step, ask.beside, ask.complete), std::make_pair(ask.refusal, ask.code));
    }

    // Memory bounded by the address space: a code that needs more than is left is refused
    // before it is built, and made once the bound is lifted.
    void addressSpaceBound()
    {
        rlimit old{};
        QCOMPARE(getrlimit(RLIMIT_AS, &old), 0);
        rlimit low = old;
        low.rlim_cur = rlim_t(mapped() + (128 << 20));
        QCOMPARE(setrlimit(RLIMIT_AS, &low), 0);
        const bool small = MemoryAvailable(100 << 20), large = MemoryAvailable(160 << 20);
        const int refusal = converted(QString(5'000'000, u'a'), 1.0).first; // a code of 55 million units
        setrlimit(RLIMIT_AS, &old);
        QVERIFY(small && !large);
        QCOMPARE(refusal, int(Refusal::OutOfMemory));
        QCOMPARE(converted(QString(5'000'000, u'a'), 1.0).first, -1);
    }

    // Memory bounded by the control group (v2): what memory.max leaves over memory.current,
    // no bound when it reads "max", and never more than the kernel counts as available.
    void controlGroupBound_data()
    {
        QTest::addColumn<QByteArray>("max");
        QTest::addColumn<qint64>("asked");
        QTest::addColumn<bool>("available");
        QTest::newRow("all that is left") << QByteArray("1073741824\n") << qint64(1 << 29) << true;
        QTest::newRow("a byte more") << QByteArray("1073741824\n") << qint64((1 << 29) + 1) << false;
        QTest::newRow("no limit") << QByteArray("max\n") << qint64(1) << true;
        QTest::newRow("no limit, more than the system has") << QByteArray("max\n") << (qint64(1) << 60) << false;
    }
    void controlGroupBound()
    {
        QFETCH(QByteArray, max);
        QFETCH(qint64, asked);
        QFETCH(bool, available);
        if (geteuid() != 0)
            QSKIP("a control group of its own needs root");
        const pid_t child = fork();
        if (child == 0) { // in a mount namespace of its own, in a group "/rq" made up for it
            const auto put = [](const char *path, const QByteArray &bytes) {
                QFile file(QString::fromLatin1(path));
                return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
            };
            const QByteArray self = "/proc/" + QByteArray::number(getpid()) + "/cgroup";
            const bool ready = unshare(CLONE_NEWNS) == 0 && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0
                               && mount("tmpfs", "/sys/fs/cgroup", "tmpfs", 0, nullptr) == 0
                               && put("/sys/fs/cgroup/self", "0::/rq\n")
                               && mount("/sys/fs/cgroup/self", self.constData(), nullptr, MS_BIND, nullptr) == 0
                               && mkdir("/sys/fs/cgroup/rq", 0755) == 0 && put("/sys/fs/cgroup/rq/memory.max", max)
                               && put("/sys/fs/cgroup/rq/memory.current", "536870912\n");
            _exit(!ready ? 2 : MemoryAvailable(asked) == available ? 0 : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        QCOMPARE(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0);
    }

    void tooLongCodeIsRefused()
    {
        const Template huge{QString(1 << 20, u'x'), "]", "["};
        QVERIFY(!GenerateCode(request(QString(1100, u'a'), 0, 0, 1, OutputFormat::Custom, huge)));
        // The bound alone is over the limit, the code itself is not: html's worst case is far above.
        const QString spaces(MaxCodeLength / 12 + 10, u'\n');
        QCOMPARE(GenerateCode(request(spaces, 0, 0, 1, OutputFormat::Html)), std::optional<QString>(QString()));
    }

    // Whitespace is coloured in the preview as any character, though the code writes it bare.
    void previewColoursWhitespace()
    {
        const QList<PreviewRun> runs{{0, 1, {64, 64, 64}}, {1, 1, {128, 128, 128}}, {2, 1, {191, 191, 191}},
                                     {3, 1, {255, 255, 255}}};
        QCOMPARE(PreviewPlan(u"a \r\n", {0, 0, 0}, {255, 255, 255}, 1), runs);
        QCOMPARE(PreviewPlan(u"😀a", {0, 0, 0}, {255, 255, 255}, 1).value(0).length, 2); // kept whole
    }

    // Each character shows in the preview in the colour its group has in the code, and the
    // runs cover the text exactly once, whatever the step.
    void previewHasTheCodesGroups()
    {
        const Rgb start{3, 200, 90}, end{250, 10, 91};
        static const QRegularExpression group(QStringLiteral("\\[color=#(\\w{6})\\](.*?)\\[/color\\]"));
        for (const QString &text : {QStringLiteral("渐变文字abcdefghijklmnopqrstuvwxyz😀👍🏽").repeated(3),
                                    QStringLiteral("渐变文字abcdefghijklmnopqrstuvwxyz").repeated(40)})
        for (const double step : {1.0, 2.5, 4.4, 0.4, -2.0, 99.0}) {
            QStringList shown, coded;
            qsizetype covered = 0;
            for (const PreviewRun &run : PreviewPlan(text, start, end, step)) {
                QCOMPARE(run.offset, covered);
                covered += run.length;
                for (qsizetype n = 0; n < run.length; ++n)
                    shown.append(HexText(run.color).mid(1));
            }
            QCOMPARE(covered, text.size());
            const QString code = GenerateCode(request(text, 0x03C85A, 0xFA0A5B, step, OutputFormat::Ubb)).value();
            for (const auto &match : group.globalMatch(code)) {
                for (qsizetype n = 0; n < match.capturedLength(2); ++n)
                    coded.append(match.captured(1));
            }
            QCOMPARE(coded, shown);
        }
    }
};

QTEST_APPLESS_MAIN(TestMarkup)
#include "tst_markup.moc"
