#include "ui/schemefilemessages.h"

#include "ui/messagebox.h"

namespace rainquill {

namespace {

void showError(QWidget *parent, const SchemeFileError &error)
{
    MessageBox::show(parent,
                     QStringLiteral("错误代码：%1\r\n\r\n错误描述：%2").arg(error.code).arg(error.description),
                     QStringLiteral("发生错误"), MessageBox::Icon::Critical);
}

bool isMissing(const std::optional<SchemeFileError> &error)
{
    return error && error->code == SchemeFileError::FileNotFound;
}

} // namespace

void LoadCustomSchemes(QWidget *parent)
{
    const std::optional<SchemeFileError> error = CustomSchemes().load();
    if (isMissing(error))
        RebuildColorFile(parent);
    else if (error)
        showError(parent, *error);
}

void RebuildColorFile(QWidget *parent)
{
    MessageBox::show(parent, QStringLiteral("【color.dat】文件损坏，将重新生成此文件！"), QStringLiteral("文件损坏"),
                     MessageBox::Icon::Warning);
    if (const std::optional<SchemeFileError> error = CustomSchemes().rebuild())
        showError(parent, *error);
}

bool SaveCustomScheme(QWidget *parent, int number, const ColorScheme &scheme)
{
    std::optional<SchemeFileError> error = CustomSchemes().save(number, scheme);
    if (isMissing(error)) {
        RebuildColorFile(parent);
        error = CustomSchemes().save(number, scheme);
    }
    if (error)
        showError(parent, *error);
    return !error;
}

} // namespace rainquill
