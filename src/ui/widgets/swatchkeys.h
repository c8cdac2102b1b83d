#pragma once

#include <QObject>
#include <QList>
#include <QPoint>
#include <QPointer>

class QWidget;

namespace rainquill {

// Makes a frame of swatches usable from the keyboard as one Tab stop: the arrow keys move
// a focus mark (the style's focus rectangle inside the swatch) over a grid of columns and
// rows, without wrapping, starting on the first swatch; Space or Enter acts as a left
// click on the marked swatch, the Menu key or Shift+F10 as a right click.
class SwatchKeys : public QObject
{
    Q_OBJECT

public:
    // `places` gives each swatch its column (x) and row (y); a row with one swatch is
    // reached from either column.
    SwatchKeys(QWidget *frame, QList<QWidget *> swatches, QList<QPoint> places);

    int current() const { return m_current; }

signals:
    void activated(int index);
    void menuRequested(int index);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void move(int dx, int dy);
    void placeMark();

    QWidget *m_frame;
    QList<QWidget *> m_swatches;
    QList<QPoint> m_places;
    QPointer<QWidget> m_mark;
    int m_current = 0;
};

} // namespace rainquill
