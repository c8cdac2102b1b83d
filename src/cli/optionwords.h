#pragma once

#include <QCommandLineOption>
#include <QList>
#include <QString>
#include <QStringList>
#include <variant>

namespace rainquill::cli {

// Bad usage, with the message that names the problem.
struct UsageError
{
    QString message;
};

// The command line as QCommandLineParser can take it: a unique prefix of a long option
// written out in full ("--form" as "--format"), and every option word checked against the
// converter's options first, so that no refusal comes in the parser's own words. Option
// values and every word after "--" pass unchanged.
std::variant<QStringList, UsageError> ExpandOptions(const QStringList &arguments,
                                                    const QList<QCommandLineOption> &options);

// The number of single-character insertions, deletions and substitutions that turn one
// text into the other.
qsizetype EditDistance(QStringView from, QStringView to);

} // namespace rainquill::cli
