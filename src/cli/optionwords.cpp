#include "cli/optionwords.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace rainquill::cli {

namespace {

// An option as the words of a command line name it.
struct Word
{
    QString longName;
    QString shortName;
    bool takesValue;
};

QList<Word> wordsOf(const QList<QCommandLineOption> &options)
{
    QList<Word> words;
    for (const QCommandLineOption &option : options) {
        Word word{{}, {}, !option.valueName().isEmpty()};
        for (const QString &name : option.names())
            (name.size() == 1 ? word.shortName : word.longName) = name;
        words.append(word);
    }
    return words;
}

// "--formt": the option nearest by edit distance is offered, if it is near enough to be
// what was meant: at most two edits, and fewer than the typed name has characters.
UsageError unknownLongOption(const QString &name, const QList<Word> &words)
{
    QString message = QStringLiteral("未知选项 --%1").arg(name);
    const Word *nearest = nullptr;
    qsizetype best = 0;
    for (const Word &word : words) {
        if (word.longName.isEmpty())
            continue;
        const qsizetype distance = EditDistance(name, word.longName);
        if (!nearest || distance < best) {
            nearest = &word;
            best = distance;
        }
    }
    if (nearest && best <= 2 && best < name.size())
        message += QStringLiteral("\n你是不是要用 --%1？").arg(nearest->longName);
    return {message};
}

UsageError missingValue(const QString &option)
{
    return {QStringLiteral("选项 %1 缺少取值").arg(option)};
}

} // namespace

qsizetype EditDistance(QStringView from, QStringView to)
{
    // One row of the classic table at a time.
    std::vector<qsizetype> row(size_t(to.size()) + 1);
    std::iota(row.begin(), row.end(), qsizetype(0));
    for (qsizetype i = 1; i <= from.size(); ++i) {
        qsizetype diagonal = row[0];
        row[0] = i;
        for (qsizetype j = 1; j <= to.size(); ++j) {
            const qsizetype above = row[size_t(j)];
            row[size_t(j)] =
                std::min({above + 1, row[size_t(j - 1)] + 1, diagonal + (from[i - 1] == to[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row.back();
}

std::variant<QStringList, UsageError> ExpandOptions(const QStringList &arguments,
                                                    const QList<QCommandLineOption> &options)
{
    const QList<Word> words = wordsOf(options);
    QStringList out;
    out.reserve(arguments.size());
    for (qsizetype n = 0; n < arguments.size(); ++n) {
        const QString &arg = arguments[n];
        if (arg == u"--") {
            out += arguments.mid(n);
            break;
        }
        if (arg.startsWith(u"--")) {
            const qsizetype equals = arg.indexOf(u'=');
            const QString name = arg.mid(2, equals < 0 ? -1 : equals - 2);
            QList<const Word *> candidates;
            for (const Word &word : words) {
                if (word.longName == name) {
                    candidates = {&word};
                    break;
                }
                if (!name.isEmpty() && word.longName.startsWith(name))
                    candidates.append(&word);
            }
            if (candidates.isEmpty())
                return unknownLongOption(name, words);
            if (candidates.size() > 1) {
                QStringList names;
                for (const Word *word : candidates)
                    names.append(QStringLiteral("--") + word->longName);
                return UsageError{QStringLiteral("选项 --%1 不明确：%2").arg(name, names.join(u"、"))};
            }
            const Word &word = *candidates.front();
            if (equals >= 0 && !word.takesValue)
                return UsageError{QStringLiteral("选项 --%1 不带取值").arg(word.longName)};
            out.append(QStringLiteral("--") + word.longName + (equals < 0 ? QString() : arg.mid(equals)));
            if (equals < 0 && word.takesValue) {
                if (++n == arguments.size())
                    return missingValue(QStringLiteral("--") + word.longName);
                out.append(arguments[n]);
            }
            continue;
        }
        out.append(arg);
        if (arg.size() < 2 || !arg.startsWith(u'-'))
            continue; // a file, or "-" for standard input
        // A group of short options ("-vf html"): the first that takes a value takes the
        // rest of the word, or the next word when the rest is empty.
        for (qsizetype k = 1; k < arg.size(); ++k) {
            const auto word = std::find_if(words.begin(), words.end(),
                                           [&](const Word &w) { return w.shortName == arg[k]; });
            if (word == words.end()) {
                const qsizetype length = arg[k].isHighSurrogate() ? 2 : 1; // the arguments are valid UTF-8
                return UsageError{QStringLiteral("未知选项 -%1").arg(arg.mid(k, length))};
            }
            if (!word->takesValue)
                continue;
            if (k + 1 == arg.size()) {
                if (++n == arguments.size())
                    return missingValue(QStringLiteral("-") + arg[k]);
                out.append(arguments[n]);
            }
            break;
        }
    }
    return out;
}

} // namespace rainquill::cli
