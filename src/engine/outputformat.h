#pragma once

#include <QString>
#include <QStringList>

namespace rainquill {

// The list index of the format list; Html alone also switches on the html treatment
// of whitespace and markup characters.
enum class OutputFormat { Ubb = 0, Html = 1, QQ = 2, Custom = 3 };

// The three texts wrapped around every coloured group: prefix, "#" and the colour,
// middle, the group's text, suffix.
struct Template
{
    QString prefix;
    QString middle;
    QString suffix;

    bool isComplete() const { return !prefix.isEmpty() && !middle.isEmpty() && !suffix.isEmpty(); }
    friend bool operator==(const Template &, const Template &) = default;
};

// The format list's items, in index order.
QStringList FormatNames();

// The template a built-in format puts into the boxes; empty for the custom format.
Template TemplateFor(OutputFormat format);

} // namespace rainquill
