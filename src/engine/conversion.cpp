#include "engine/conversion.h"

#include "engine/systemmemory.h"

#include <new>

namespace rainquill {

namespace {

// What the code costs at its peak, in bytes per UTF-16 unit: the code itself, held once
// more by whoever shows or copies it; measured with room to spare.
constexpr qint64 CodeMemory = 4;

} // namespace

std::variant<Refusal, Conversion> Convert(const CodeRequest &request, qint64 bytesBeside)
{
    if (const std::optional<Refusal> refusal = CheckRequest(request))
        return *refusal;
    try {
        Characters characters(request.text); // found once for the code and the preview
        const qint64 bound = CodeLengthBound(request, characters);
        if (bound > MaxCodeLength)
            return Refusal::CodeTooLong;
        // Qt's text layout does not survive a failed allocation, so room is asked for
        // before anything is built.
        if (!MemoryAvailable(CodeMemory * bound + bytesBeside))
            return Refusal::OutOfMemory;
        std::optional<QString> code = GenerateCode(request, characters, bound);
        if (!code)
            return Refusal::CodeTooLong;
        return Conversion{std::move(*code), std::move(characters)};
    } catch (const std::bad_alloc &) {
        return Refusal::OutOfMemory;
    }
}

} // namespace rainquill
