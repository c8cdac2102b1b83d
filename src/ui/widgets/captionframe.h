#pragma once

#include <QGroupBox>

namespace rainquill {

// A frame drawn as the design draws it: its top line passes through the middle of the
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

} // namespace rainquill
