#pragma once

#include <QLabel>

namespace rainquill {

// A label that answers a left click (press and release over it) with a pointing hand:
// link lines, the download link, the background swatches.
class ClickLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ClickLabel(const QString &text = {}, QWidget *parent = nullptr);

    // A screen reader reads the label as a link, which its action opens.
    void makeLink();
    bool isLink() const { return m_link; }
    void click() { emit clicked(); }

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    // With the focus (a link takes it), Enter or Space acts as a click; the focus shows as
    // the style's focus rectangle.
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_link = false;
};

} // namespace rainquill
