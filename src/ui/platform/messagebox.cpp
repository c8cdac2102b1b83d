#include "ui/platform/messagebox.h"

#include <QMessageBox>

namespace rainquill {

namespace {

bool recording = false;
QList<MessageBox::Shown> recorded;

QMessageBox::Icon qtIcon(MessageBox::Icon icon)
{
    switch (icon) {
    case MessageBox::Icon::Critical:
        return QMessageBox::Critical;
    case MessageBox::Icon::Warning:
        return QMessageBox::Warning;
    case MessageBox::Icon::Information:
        break;
    }
    return QMessageBox::Information;
}

} // namespace

void MessageBox::show(QWidget *parent, const QString &prompt, const QString &title, Icon icon)
{
    if (recording) {
        recorded.append({prompt, title, icon});
        return;
    }
    QMessageBox box(qtIcon(icon), title, prompt, QMessageBox::Ok, parent);
    // A prompt may quote a file's line: never read as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void MessageBox::setRecording(bool on)
{
    recording = on;
    recorded.clear();
}

QList<MessageBox::Shown> MessageBox::takeShown()
{
    return std::exchange(recorded, {});
}

} // namespace rainquill
