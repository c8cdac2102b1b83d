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

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

} // namespace rainquill
