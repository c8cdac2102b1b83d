#pragma once

#include <QList>
#include <QPlainTextEdit>

namespace rainquill {

// The code pane. It holds the exact code; the display breaks long lines into blocks of a
// few thousand characters (a single line of millions of characters takes seconds to lay
// out), and whatever the user copies, in whole or in part, is taken from the exact code.
// A hidden pane fills its display when it is next shown.
class CodePane : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit CodePane(QWidget *parent = nullptr);

    const QString &code() const { return m_code; }
    void setCode(const QString &code);

protected:
    QMimeData *createMimeDataFromSelection() const override;
    void showEvent(QShowEvent *event) override;

private:
    // The exact code between two positions of the display.
    QString codeBetween(int displayStart, int displayEnd) const;
    qsizetype codePosition(int displayPosition) const;
    void fillDisplay();

    QString m_code;
    QList<qsizetype> m_blockCodeStart; // where each displayed block starts in the code
    bool m_displayStale = false;       // the code changed while the pane was hidden
};

} // namespace rainquill
