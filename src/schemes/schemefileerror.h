#pragma once

#include "schemes/filestore.h"

#include <QString>

namespace rainquill {

// A failure of the scheme file as the user is told of it: a code in the classic numbering
// and a description in Chinese.
struct SchemeFileError
{
    enum Code {
        BadFileName = 52,
        FileNotFound = 53,
        DeviceError = 57,
        DiskFull = 61,
        TooFewLines = 62,
        TooManyFiles = 67,
        NotANumber = 13,
        PermissionDenied = 70,
        AccessError = 75,
        PathNotFound = 76,
    };

    int code;
    QString description;

    friend bool operator==(const SchemeFileError &, const SchemeFileError &) = default;
};

// The one table that turns a failure of the file into what the user reads.
SchemeFileError SchemeFileErrorFor(const FileFailure &failure, const QString &fileName);

// The message the user reads, with the given line break: "错误代码：", the code, two line
// breaks, "错误描述：" and the description.
QString SchemeFileErrorText(const SchemeFileError &error, QStringView lineBreak = u"\r\n");

} // namespace rainquill
