#pragma once

#include "engine/markup.h"

#include <QString>
#include <optional>

namespace rainquill {

// Why a conversion is refused. The window and the command-line converter check a request
// the same way and word the outcome from the same table.
enum class Refusal { EmptyText, IncompleteTemplate, TextTooLong, CodeTooLong, OutOfMemory };

struct RefusalWords
{
    QString prompt;
    QString title; // the message box's, in the window
};

const RefusalWords &WordsFor(Refusal refusal);

// The first thing wrong with a request, in this order: no text, a template box left
// empty, a text of more than MaxTextLength characters.
std::optional<Refusal> CheckRequest(const CodeRequest &request);

} // namespace rainquill
