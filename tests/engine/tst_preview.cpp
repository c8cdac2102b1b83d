#include "engine/markup.h"
#include "engine/preview.h"

#include <QRegularExpression>
#include <QTest>

using namespace rainquill;

Q_DECLARE_METATYPE(QList<PreviewRun>)

// The preview's colours: whitespace coloured too, and the same groups as the code.
class TestPreview : public QObject
{
    Q_OBJECT

private slots:
    void plan_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("step");
        QTest::addColumn<QList<PreviewRun>>("runs");

        const Rgb white{255, 255, 255};
        QTest::newRow("whitespace coloured too")
            << "a \r\n" << 1.0
            << QList<PreviewRun>{{0, 1, {64, 64, 64}}, {1, 1, {128, 128, 128}}, {2, 1, {191, 191, 191}}, {3, 1, white}};
        QTest::newRow("emoji kept whole")
            << "😀a" << 1.0 << QList<PreviewRun>{{0, 2, {128, 128, 128}}, {2, 1, white}};
    }

    void plan()
    {
        QFETCH(QString, text);
        QFETCH(double, step);
        QFETCH(QList<PreviewRun>, runs);
        QCOMPARE(PreviewPlan(text, {0, 0, 0}, {255, 255, 255}, step), runs);
    }

    void sameGroupsAsTheCode_data()
    {
        QTest::addColumn<double>("step");
        for (const double step : {1.0, 2.0, 2.5, 3.0, 4.4, 7.0, 0.4, -2.0, 99.0})
            QTest::newRow(qPrintable(QString::number(step))) << step;
    }

    // Each character shows in the preview in the colour its group has in the code, and the
    // runs cover the text exactly once.
    void sameGroupsAsTheCode()
    {
        QFETCH(double, step);
        const QString text = QStringLiteral("渐变文字abcdefghijklmnopqrstuvwxyz😀").repeated(3);
        const Rgb start{3, 200, 90}, end{250, 10, 91};
        const QList<PreviewRun> runs = PreviewPlan(text, start, end, step);

        QStringList shown;
        qsizetype covered = 0;
        for (const PreviewRun &run : runs) {
            QCOMPARE(run.offset, covered);
            covered += run.length;
            const QString hex = QStringLiteral("%1%2%3")
                                    .arg(run.color.red, 2, 16, QChar(u'0'))
                                    .arg(run.color.green, 2, 16, QChar(u'0'))
                                    .arg(run.color.blue, 2, 16, QChar(u'0'))
                                    .toUpper();
            for (qsizetype n = 0; n < run.length; ++n)
                shown.append(hex);
        }
        QCOMPARE(covered, text.size());

        const QString code = GenerateCode({text, start, end, step, OutputFormat::Ubb, TemplateFor(OutputFormat::Ubb)}).value();
        static const QRegularExpression group(QStringLiteral("\\[color=#(\\w{6})\\](.*?)\\[/color\\]"));
        QStringList coded;
        for (const auto &match : group.globalMatch(code)) {
            for (qsizetype n = 0; n < match.capturedLength(2); ++n)
                coded.append(match.captured(1));
        }
        QCOMPARE(coded, shown);
    }
};

QTEST_APPLESS_MAIN(TestPreview)
#include "tst_preview.moc"
