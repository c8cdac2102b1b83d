#pragma once

#include "engine/markup.h"
#include "engine/refusals.h"

#include <variant>

namespace rainquill {

// A request made into code, with the characters of its text for the preview.
struct Conversion
{
    QString code;
    Characters characters;
};

// The one way a request becomes code. It is checked in the order the refusals are told (no
// text, a template box left empty, a text too long, a code too long, too little memory)
// and then built. `bytesBeside` is what the caller will hold beside the code while it
// shows it (the window's preview); the text must outlive the result.
std::variant<Refusal, Conversion> Convert(const CodeRequest &request, qint64 bytesBeside = 0);

} // namespace rainquill
