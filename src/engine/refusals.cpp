#include "engine/refusals.h"

#include "engine/textgroups.h"

namespace rainquill {

const RefusalWords &WordsFor(Refusal refusal)
{
    static const RefusalWords words[] = {
        {QStringLiteral("请输入要转换的文字"), QStringLiteral("没有找到要转换的文字")},
        {QStringLiteral("自定义格式没有填完整"), QStringLiteral("不完整的自定义格式")},
        {QStringLiteral("要转换的文字太长，一次最多转换 %1 个字符，请分段转换").arg(MaxTextLength),
         QStringLiteral("文字太长")},
        {QStringLiteral("生成的代码太长，请增大步长后再转换"), QStringLiteral("代码太长")},
        {QStringLiteral("内存不足，请分段转换"), QStringLiteral("内存不足")},
    };
    return words[int(refusal)];
}

std::optional<Refusal> CheckRequest(const CodeRequest &request)
{
    if (request.text.isEmpty())
        return Refusal::EmptyText;
    if (!request.tpl.isComplete())
        return Refusal::IncompleteTemplate;
    // Counting stops as soon as the answer is known.
    if (request.text.size() > MaxTextLength && CharacterCount(request.text) > MaxTextLength)
        return Refusal::TextTooLong;
    return std::nullopt;
}

} // namespace rainquill
