#pragma once

// What the tests that drive the real windows under the offscreen platform share: one main
// window per test, the seams answered, and ways to look at what is painted.

#include "ui/frmmain.h"
#include "ui/widgets/codepane.h"
#include "ui/widgets/inputpane.h"
#include "ui/platform/colordialog.h"
#include "ui/platform/designpalette.h"
#include "ui/platform/messagebox.h"
#include "ui/platform/openaddress.h"
#include "ui/platform/translations.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

namespace uitest {

// The named control of a window. A missing one fails the current test, which goes on with
// a stand-in of the same kind (the checks after a failure return at once), so that the
// other tests still run: an exception or an abort would end the whole program.
template<typename T = QWidget>
T *control(const QObject *window, const QString &name, const char *file = __builtin_FILE(),
           int line = __builtin_LINE())
{
    if (T *found = window ? window->findChild<T *>(name) : nullptr)
        return found;
    QTest::qFail(qPrintable(QStringLiteral("no control ") + name), file, line);
    static T *standIn = new T;
    return standIn;
}

// The visible top-level window of that name, if any.
inline QWidget *topLevel(const QString &name)
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == name && widget->isVisible())
            return widget;
    }
    return nullptr;
}

// The colour of every character of a document, line breaks left out.
inline QList<QColor> characterColors(const QTextDocument *document)
{
    QList<QColor> colors;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            for (const QChar ch : it.fragment().text()) {
                if (ch != QChar::LineSeparator)
                    colors.append(it.fragment().charFormat().foreground().color());
            }
        }
    }
    return colors;
}

// Whether the widget, as painted, shows this colour somewhere in the area (the whole
// widget when the area is empty), each channel within `tolerance`: the heart of a small
// glyph is seldom exactly its colour, nor a styled face its button colour.
inline bool paintsNear(QWidget *widget, const QColor &color, int tolerance, QRect area = {})
{
    const QImage image =
        widget->grab(area.isEmpty() ? widget->rect() : area).toImage().convertToFormat(QImage::Format_RGB32);
    const auto *pixels = reinterpret_cast<const QRgb *>(image.constBits());
    return std::any_of(pixels, pixels + qsizetype(image.width()) * image.height(), [&](QRgb pixel) {
        return qAbs(qRed(pixel) - color.red()) <= tolerance && qAbs(qGreen(pixel) - color.green()) <= tolerance
               && qAbs(qBlue(pixel) - color.blue()) <= tolerance;
    });
}

inline bool paints(QWidget *widget, const QColor &color, QRect area = {})
{
    return paintsNear(widget, color, 0, area);
}

// The strip a frame's caption is painted in.
inline QRect captionArea(QWidget *frame)
{
    return {0, 0, frame->width(), frame->fontMetrics().height()};
}

// What a screen reader is told of a widget.
inline QAccessibleInterface *reader(QWidget *widget)
{
    return QAccessible::queryAccessibleInterface(widget);
}

// The focus mark as painted over a swatch of a frame: white at its edge, black inside,
// 2 px each, then the swatch's own colour.
inline bool markedAt(QWidget *frame, QWidget *swatch)
{
    const QImage image = frame->grab().toImage();
    const QRect r = swatch->geometry();
    const auto at = [&](int x) { return image.pixelColor(x, r.center().y()); };
    return at(r.left()) == Qt::white && at(r.left() + 1) == Qt::white && at(r.left() + 2) == Qt::black
           && at(r.left() + 3) == Qt::black && at(r.right() - 1) == Qt::white && at(r.right() - 3) == Qt::black
           && at(r.left() + 4) == swatch->grab().toImage().pixelColor(4, r.height() / 2);
}

// Into the menu bar from the focused control, as a keyboard does it: F10, or Alt pressed
// and released alone.
inline void enterMenuBar(const QString &way)
{
    QWidget *focus = QApplication::focusWidget();
    if (way == u"F10") {
        QTest::keyClick(focus, Qt::Key_F10);
    } else {
        QTest::keyPress(focus, Qt::Key_Alt, Qt::AltModifier);
        QTest::keyRelease(focus, Qt::Key_Alt, Qt::NoModifier);
    }
}

// One main window a test, in a working folder of its own (color.dat lives there), with
// every message, colour dialog, address and end of the program answered by the test.
class WindowTest : public QObject
{
protected:
    void openWindow()
    {
        rainquill::UseChineseEverywhere();
        rainquill::UseDesignPalette();
        rainquill::MessageBox::setRecording(true);
        rainquill::OpenAddress::setRecording(true);
        rainquill::EndProgram::setRecording(true);
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir::setCurrent(m_dir->path()));
        m_window = new rainquill::frmMain;
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
    }
    void closeWindow()
    {
        delete m_window;
        for (QWidget *widget : QApplication::topLevelWidgets())
            delete widget;
        QDir::setCurrent(QDir::tempPath());
        m_dir.reset();
        QCOMPARE(rainquill::ColorDialog::queuedAnswers(), 0);
        QCOMPARE(rainquill::MessageBox::takeShown(), QList<rainquill::MessageBox::Shown>{});
    }

    template<typename T = QWidget>
    T *get(const QString &name) const
    {
        return control<T>(m_window, name);
    }
    void click(const QString &name, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(get(name), button);
    }
    // A child window opened as a user opens it: the scheme editor on custom scheme 3.
    QWidget *openChild(const QString &child)
    {
        if (child == u"frmCustomColor") {
            get<QAction>(QStringLiteral("MenuCustom"))->trigger();
            click(QStringLiteral("PicColorBox_12"), Qt::RightButton);
        } else {
            get<QAction>(child == u"frmAbout1" ? QStringLiteral("MenuAbout") : QStringLiteral("MenuUpdate"))->trigger();
        }
        return topLevel(child);
    }
    QString caption(const QString &frame) const { return get<QGroupBox>(frame)->title(); }
    rainquill::InputPane *input() const { return get<rainquill::InputPane>(QStringLiteral("RTInput")); }
    rainquill::CodePane *codePane() const { return get<rainquill::CodePane>(QStringLiteral("TxtCode")); }
    QString code() const { return codePane()->code(); }
    void setFormat(int index)
    {
        auto *combo = get<QComboBox>(QStringLiteral("Combo1"));
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QPointer<rainquill::frmMain> m_window;
};

// What the pane tests share: a pane held against a stock plain-text edit, and read as a
// screen reader reads it.

// A text as the clipboard and a screen reader have it: every line break one "\n".
inline QString plain(const QString &text)
{
    return QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n')
        .replace(QChar::LineSeparator, u'\n').replace(QChar::ParagraphSeparator, u'\n');
}

// The caret at a position of the edit's document.
inline void setCaret(QPlainTextEdit *edit, int position)
{
    QTextCursor cursor = edit->textCursor();
    cursor.setPosition(position);
    edit->setTextCursor(cursor);
}

// What a screen reader reads of a widget's text.
inline QAccessibleTextInterface *textReader(QWidget *widget)
{
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->textInterface() : nullptr;
}

// The caret and the selection as a screen reader has them: "caret start-end".
inline QString selectionOf(QWidget *widget)
{
    int start = 0, end = 0;
    textReader(widget)->selection(0, &start, &end);
    return QStringLiteral("%1 %2-%3").arg(textReader(widget)->cursorPosition()).arg(start).arg(end);
}

// Every row as a screen reader is told it, asked at every offset: "start-end text", each
// row once.
inline QStringList rowsOf(QWidget *widget)
{
    QAccessibleTextInterface *text = textReader(widget);
    QStringList rows;
    int last = -1;
    for (int offset = 0; offset <= text->characterCount(); ++offset) {
        int start = 0, end = 0;
        const QString row = text->textAtOffset(offset, QAccessible::LineBoundary, &start, &end);
        if (start != last)
            rows.append(QStringLiteral("%1-%2 %3").arg(start).arg(end).arg(row));
        last = start;
    }
    return rows;
}

// What a screen reader reads of a widget's whole text: its value, its count of
// characters, and its text.
inline QStringList readerText(QWidget *widget)
{
    QAccessibleTextInterface *text = textReader(widget);
    return {QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Value),
            QString::number(text->characterCount()), text->text(0, text->characterCount())};
}

// What a screen reader is told it may do with a widget's text: read-only, editable,
// multi-line, selectable.
inline QList<quint64> textStates(QWidget *widget)
{
    const QAccessible::State state = QAccessible::queryAccessibleInterface(widget)->state();
    return {state.readOnly, state.editable, state.multiLine, state.selectableText};
}

// A stock plain-text edit beside a pane, in its font, size and frame, holding the text
// as it holds what is pasted into it; null when it is never shown.
inline std::unique_ptr<QPlainTextEdit> stockBeside(QAbstractScrollArea *pane, const QString &text = {})
{
    auto stock = std::make_unique<QPlainTextEdit>();
    stock->setFont(pane->font());
    stock->setFrameStyle(pane->frameStyle());
    stock->resize(pane->size());
    stock->setPlainText(text);
    stock->show();
    if (!QTest::qWaitForWindowExposed(stock.get()))
        return nullptr;
    return stock;
}

// A double click (clicks 2) or a triple click (3) at a place of the viewport.
inline void multiClick(QAbstractScrollArea *widget, QPoint at, int clicks)
{
    QTest::mouseDClick(widget->viewport(), Qt::LeftButton, {}, at);
    if (clicks == 3)
        QTest::mouseClick(widget->viewport(), Qt::LeftButton, {}, at);
}

} // namespace uitest
