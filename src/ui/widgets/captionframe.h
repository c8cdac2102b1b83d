#pragma once

#include "ui/base/twips.h"

#include <QAccessibleWidget>
#include <QGroupBox>

namespace rainquill {

// A frame drawn in the window's fixed look: its top line passes through the middle of the
// caption, so the controls placed at their designed tops sit below the line. The caption
// has a colour of its own, which reaches nothing inside the frame.
class CaptionFrame : public QGroupBox
{
    Q_OBJECT

public:
    explicit CaptionFrame(const QString &caption, QWidget *parent = nullptr);

    QColor captionColor() const { return m_captionColor; }
    void setCaptionColor(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_captionColor;
};

// Keeps a widget of a frame out of what screen readers list: a second picture of a
// control, or a mark drawn over one, is not a control of its own.
void LeaveOutOfAccessibleTree(QWidget *widget);

// Drops what a screen reader was told of the object so far: the next question makes its
// interface anew, for an object that has become a kind of its own after it was made.
void RenewAccessibleInterface(QObject *object);

// What a screen reader reads of a frame: its caption as it is painted at the moment, and
// its controls, less those left out.
class CaptionFrameAccessible : public QAccessibleWidget
{
public:
    explicit CaptionFrameAccessible(QWidget *frame, QAccessible::Role role = QAccessible::Grouping);

    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;

protected:
    QWidgetList listedChildren() const;
};

// A frame with a blue caption, placed in its parent and named after its role.
CaptionFrame *MakeFrame(QWidget *parent, const QString &name, const QString &caption, const TwipsRect &place);

} // namespace rainquill
