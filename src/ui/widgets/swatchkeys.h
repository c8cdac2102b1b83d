#pragma once

#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>

class QWidget;

namespace rainquill {

// Makes a frame of swatches usable from the keyboard as one Tab stop: the arrow keys move
// a focus mark over a grid of columns and rows, without wrapping, starting on the first
// swatch; Space or Enter acts as a left click on the marked swatch, the Menu key or
// Shift+F10 as a right click. To a screen reader the frame is a list whose marked swatch
// is the focused item and whose applied swatch is the selected one.
class SwatchKeys : public QObject
{
    Q_OBJECT

public:
    // `places` gives each swatch its column (x) and row (y); a row with one swatch is
    // reached from either column.
    SwatchKeys(QWidget *frame, QList<QWidget *> swatches, QList<QPoint> places);

    // The keys of the frame, if it has them.
    static SwatchKeys *of(const QWidget *frame);

    const QList<QWidget *> &swatches() const { return m_swatches; }
    int current() const { return m_current; }
    // Moves the mark to that swatch.
    void setCurrent(int index);
    // The swatch whose scheme or colour is applied, -1 for none.
    int applied() const { return m_applied; }
    void setApplied(int index);
    // Whether the marked swatch has the keyboard: the frame has the focus.
    bool hasFocus() const;
    // Whether a right click on a swatch does something (a screen reader offers it).
    bool offersMenu() const { return m_offersMenu; }
    void setOffersMenu(bool offers) { m_offersMenu = offers; }

signals:
    void activated(int index);
    void menuRequested(int index);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void move(int dx, int dy);
    void placeMark();
    void tellFocus();

    QWidget *m_frame;
    QList<QWidget *> m_swatches;
    QList<QPoint> m_places;
    QPointer<QWidget> m_mark;
    int m_current = 0;
    int m_applied = -1;
    bool m_offersMenu = false;
};

} // namespace rainquill
