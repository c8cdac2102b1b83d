#include "schemes/schemefileerror.h"

#include <cerrno>

namespace rainquill {

namespace {

struct Row
{
    int systemError;
    int code;
    const char16_t *text;
};

// System errors, each with its code and its words. Anything not listed is an access error.
constexpr Row Rows[] = {
    {EACCES, SchemeFileError::PermissionDenied, u"没有权限"},
    {EPERM, SchemeFileError::PermissionDenied, u"没有权限"},
    {EROFS, SchemeFileError::PermissionDenied, u"没有权限，磁盘是只读的"},
    {ENOTDIR, SchemeFileError::PathNotFound, u"路径未找到"},
    {ENOSPC, SchemeFileError::DiskFull, u"磁盘已满"},
    {EDQUOT, SchemeFileError::DiskFull, u"磁盘已满，超出了磁盘配额"},
    {EFBIG, SchemeFileError::DiskFull, u"文件太大，超出了系统允许的大小"},
    {EISDIR, SchemeFileError::AccessError, u"路径/文件访问错误，这是一个文件夹"},
    {ELOOP, SchemeFileError::AccessError, u"路径/文件访问错误，链接层数太多"},
    {EIO, SchemeFileError::DeviceError, u"设备 I/O 错误"},
    {EMFILE, SchemeFileError::TooManyFiles, u"打开的文件太多"},
    {ENFILE, SchemeFileError::TooManyFiles, u"打开的文件太多"},
    {ENAMETOOLONG, SchemeFileError::BadFileName, u"文件名太长"},
};

QString doing(FileFailure::Step step)
{
    switch (step) {
    case FileFailure::Step::Inspect:
        return QStringLiteral("查看");
    case FileFailure::Step::Read:
        return QStringLiteral("读取");
    case FileFailure::Step::Write:
        return QStringLiteral("写入");
    case FileFailure::Step::Permissions:
        break;
    }
    return QStringLiteral("修改权限");
}

// What a failed write left, when it is not simply the old file.
QString leftBehind(const FileFailure &failure, const QString &fileName)
{
    switch (failure.left) {
    case FileFailure::Left::OldFile:
        break;
    case FileFailure::Left::PutBackBestEffort:
        return QStringLiteral("，已尽力恢复原内容，但未能确认已写入磁盘，%1 可能已损坏").arg(fileName);
    case FileFailure::Left::MayBeDamaged:
        return QStringLiteral("，未能恢复原内容，%1 可能已损坏").arg(fileName);
    }
    return {};
}

SchemeFileError systemError(const FileFailure &failure, const QString &fileName, const QString &when)
{
    // A missing file is "not found" when read; when written, it is the folder that is missing.
    if (failure.systemError == ENOENT) {
        if (failure.step == FileFailure::Step::Write)
            return {SchemeFileError::PathNotFound, QStringLiteral("路径未找到") + when};
        return {SchemeFileError::FileNotFound, QStringLiteral("文件未找到：%1").arg(fileName)};
    }
    for (const Row &row : Rows) {
        if (row.systemError == failure.systemError)
            return {row.code, QString::fromUtf16(row.text) + when};
    }
    return {SchemeFileError::AccessError,
            QStringLiteral("路径/文件访问错误（系统错误 %1）").arg(failure.systemError) + when};
}

} // namespace

SchemeFileError SchemeFileErrorFor(const FileFailure &failure, const QString &fileName)
{
    const QString when = QStringLiteral("（%1 %2 时）").arg(doing(failure.step), fileName);
    switch (failure.refusal) {
    case FileFailure::Refusal::NotAPlainFile:
        return {SchemeFileError::AccessError, QStringLiteral("路径/文件访问错误，%1 不是普通文件").arg(fileName) + when};
    case FileFailure::Refusal::LineTooLong:
        return {SchemeFileError::AccessError,
                QStringLiteral("行太长，%1 第 %2 行超过 1 MiB，不是方案文件").arg(fileName).arg(failure.line) + when};
    case FileFailure::Refusal::ForeignLink:
        return {SchemeFileError::AccessError,
                QStringLiteral("路径/文件访问错误，%1 是其他用户的链接，不经它写入").arg(fileName) + when};
    case FileFailure::Refusal::None:
        break;
    }
    SchemeFileError error = systemError(failure, fileName, when);
    error.description += leftBehind(failure, fileName);
    return error;
}

QString SchemeFileErrorText(const SchemeFileError &error, QStringView lineBreak)
{
    QString text = QStringLiteral("错误代码：") + QString::number(error.code);
    text.append(lineBreak).append(lineBreak);
    return text + QStringLiteral("错误描述：") + error.description;
}

} // namespace rainquill
