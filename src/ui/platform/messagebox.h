#pragma once

#include <QList>
#include <QString>

class QWidget;

namespace rainquill {

// Every message the program shows: a modal box with an OK button. Tests switch on
// recording, so that messages are kept instead of shown and no test ever blocks.
class MessageBox
{
public:
    enum class Icon { Critical = 16, Warning = 48, Information = 64 };

    struct Shown
    {
        QString prompt;
        QString title;
        Icon icon;

        friend bool operator==(const Shown &, const Shown &) = default;
    };

    static void show(QWidget *parent, const QString &prompt, const QString &title, Icon icon);

    static void setRecording(bool recording);
    // The messages recorded since the last call, oldest first.
    static QList<Shown> takeShown();
};

} // namespace rainquill
