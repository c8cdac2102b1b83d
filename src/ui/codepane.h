#pragma once

#include <QList>
#include <QPlainTextEdit>
#include <memory>

namespace rainquill {

// The code pane. It holds the exact code; the display breaks long lines into blocks of a
// few thousand characters (a single line of millions of characters takes seconds to lay
// out), and whatever the user copies, in whole or in part, is taken from the exact code.
// A hidden pane fills its display when it is next shown.
class CodePane : public QPlainTextEdit
{
    Q_OBJECT

public:
    // The display of a code, built away from the pane. Empty for a hidden pane.
    struct Display
    {
        std::unique_ptr<QTextDocument> document;
        QList<qsizetype> blockCodeStart; // where each displayed block starts in the code
    };

    explicit CodePane(QWidget *parent = nullptr);

    const QString &code() const { return m_code; }
    void setCode(const QString &code);

    // The two halves of setCode, for a caller that builds everything before it changes
    // anything: building may fail for want of memory, showing does not allocate much.
    Display buildDisplay(const QString &code) const;
    void setCode(const QString &code, Display display);

protected:
    QMimeData *createMimeDataFromSelection() const override;
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // The exact code between two positions of the display.
    QString codeBetween(int displayStart, int displayEnd) const;
    qsizetype codePosition(int displayPosition) const;
    void show(Display display);

    QString m_code;
    QList<qsizetype> m_blockCodeStart{0};
    bool m_displayStale = false; // the code changed while the pane was hidden
};

} // namespace rainquill
