#include "ui/platform/openaddress.h"

#include <QCoreApplication>
#include <QDesktopServices>

namespace rainquill {

namespace {

bool recordingAddresses = false;
QList<QUrl> opened;
bool recordingEnd = false;
int endRequests = 0;

} // namespace

void OpenAddress::open(const QUrl &address)
{
    if (recordingAddresses)
        opened.append(address);
    else
        QDesktopServices::openUrl(address);
}

void OpenAddress::setRecording(bool recording)
{
    recordingAddresses = recording;
    opened.clear();
}

QList<QUrl> OpenAddress::takeOpened()
{
    return std::exchange(opened, {});
}

void EndProgram::now()
{
    if (recordingEnd)
        ++endRequests;
    else
        QCoreApplication::quit();
}

void EndProgram::setRecording(bool recording)
{
    recordingEnd = recording;
    endRequests = 0;
}

int EndProgram::takeRequests()
{
    return std::exchange(endRequests, 0);
}

} // namespace rainquill
