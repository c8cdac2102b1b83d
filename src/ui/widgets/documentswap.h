#pragma once

#include <QTextDocument>

namespace rainquill {

// Shows a document built away from the text edit and deletes the one it replaces, when
// that was one of the edit's own: the edit's first document belongs to Qt, which deletes
// it on the swap.
template<typename TextEdit>
void SwapDocument(TextEdit *edit, QTextDocument *next)
{
    QTextDocument *replaced = edit->document()->parent() == edit ? edit->document() : nullptr;
    next->setParent(edit);
    edit->setDocument(next);
    delete replaced;
}

} // namespace rainquill
