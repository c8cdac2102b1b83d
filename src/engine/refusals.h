#pragma once

#include "engine/markup.h"

#include <QString>

namespace rainquill {

// The conversion's refusals, worded once for the window and the command-line converter.
inline const QString EmptyTextRefusal = QStringLiteral("请输入要转换的文字");
inline const QString IncompleteTemplateRefusal = QStringLiteral("自定义格式没有填完整");
inline const QString CodeTooLongRefusal = QStringLiteral("生成的代码太长，请增大步长后再转换");
inline const QString TextTooLongRefusal =
    QStringLiteral("要转换的文字太长，一次最多转换 %1 个字符，请分段转换").arg(MaxTextLength);

} // namespace rainquill
