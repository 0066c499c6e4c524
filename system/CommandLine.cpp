#include "CommandLine.h"

#include <utility>

namespace nerubato {

QStringList splitArguments(QStringView line)
{
    QStringList arguments;
    QString current;
    bool inArgument = false;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size();) {
        const QChar c = line[i];
        if (!quoted && (c == u' ' || c == u'\t')) {
            if (inArgument)
                arguments << std::exchange(current, QString());
            inArgument = false;
            ++i;
            continue;
        }
        inArgument = true;
        if (c == u'\\') {
            qsizetype run = 0;
            while (i + run < line.size() && line[i + run] == u'\\')
                ++run;
            const bool beforeQuote = i + run < line.size() && line[i + run] == u'"';
            current += QString(beforeQuote ? run / 2 : run, u'\\');
            i += run;
            if (beforeQuote && run % 2 == 1) {
                current += u'"';
                ++i;
            }
            continue;
        }
        if (c == u'"') {
            if (quoted && i + 1 < line.size() && line[i + 1] == u'"') {
                current += u'"';
                i += 2;
                continue;
            }
            quoted = !quoted;
            ++i;
            continue;
        }
        current += c;
        ++i;
    }
    if (inArgument)
        arguments << current;
    return arguments;
}

} // namespace nerubato
