#include "ui/schemefilemessages.h"

#include "ui/platform/messagebox.h"

namespace rainquill {

namespace {

void showError(QWidget *parent, const SchemeFileError &error)
{
    MessageBox::show(parent, SchemeFileErrorText(error), QStringLiteral("发生错误"), MessageBox::Icon::Critical);
}

bool isMissing(const std::optional<SchemeFileError> &error)
{
    return error && error->code == SchemeFileError::FileNotFound;
}

} // namespace

void LoadCustomSchemes(QWidget *parent, CustomSchemeFile &file)
{
    const std::optional<SchemeFileError> error = file.load();
    if (isMissing(error))
        RebuildColorFile(parent, file);
    else if (error)
        showError(parent, *error);
}

bool RebuildColorFile(QWidget *parent, CustomSchemeFile &file)
{
    MessageBox::show(parent, QStringLiteral("【color.dat】文件损坏，将重新生成此文件！"), QStringLiteral("文件损坏"),
                     MessageBox::Icon::Warning);
    const std::optional<SchemeFileError> error = file.rebuild();
    if (error)
        showError(parent, *error);
    return !error;
}

bool SaveCustomScheme(QWidget *parent, CustomSchemeFile &file, int number, const ColorScheme &scheme)
{
    std::optional<SchemeFileError> error = file.save(number, scheme);
    if (isMissing(error)) {
        // A rebuild that fails has said why; the save is not tried again on no file.
        if (!RebuildColorFile(parent, file))
            return false;
        error = file.save(number, scheme);
    }
    if (error)
        showError(parent, *error);
    return !error;
}

} // namespace rainquill
