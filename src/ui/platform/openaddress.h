#pragma once

#include <QList>
#include <QUrl>

namespace rainquill {

// Hands a web or "mailto:" address to the system's default handler. The outcome is not
// reported: a missing browser or mail program leaves the window as it is. Tests switch on
// recording, so that addresses are kept instead of opened.
class OpenAddress
{
public:
    static void open(const QUrl &address);

    static void setRecording(bool recording);
    static QList<QUrl> takeOpened();
};

// Ends the program: the thank-you window's last word. Tests record the request instead.
class EndProgram
{
public:
    static void now();

    static void setRecording(bool recording);
    static int takeRequests();
};

} // namespace rainquill
