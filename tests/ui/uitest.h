#pragma once

// Helpers shared by the tests that drive the real windows under the offscreen platform.

#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QWidget>

namespace uitest {

// The named control of a window; fails the test when it is missing.
template<typename T>
T *control(const QObject *window, const QString &name)
{
    T *found = window->findChild<T *>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

// The colour of every character of a document, paragraph separators left out.
inline QList<QColor> characterColors(const QTextDocument *document)
{
    QList<QColor> colors;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            for (int n = 0; n < fragment.length(); ++n)
                colors.append(fragment.charFormat().foreground().color());
        }
    }
    return colors;
}

// The colour a widget shows at a point, as painted.
inline QColor shownColor(QWidget *widget, QPoint point)
{
    return widget->grab().toImage().pixelColor(point * widget->devicePixelRatioF());
}

// Whether the widget, as painted, shows exactly this colour somewhere in the area (the
// whole widget when the area is empty).
inline bool paints(QWidget *widget, const QColor &color, QRect area = {})
{
    const QImage image = widget->grab(area.isEmpty() ? widget->rect() : area).toImage();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y).rgb() == color.rgb())
                return true;
        }
    }
    return false;
}

// The strip a frame's caption is painted in.
inline QRect captionArea(QWidget *frame)
{
    return {0, 0, frame->width(), frame->fontMetrics().height()};
}

} // namespace uitest
