#include "PathComposition.h"

#include "settings/Cp932.h"

namespace nerubato {

QString lowerAsciiLetters(QString text)
{
    for (QChar &c : text) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    }
    return text;
}

bool isWithin(const QString &path, const QString &root)
{
    if (root.isEmpty() || !path.startsWith(root, kPathCase))
        return false;
    return path.size() == root.size() || root.endsWith(QLatin1Char('/')) ||
           path.at(root.size()) == QLatin1Char('/');
}

QString composePath(const QString &directory, const QString &fileName, QChar separator)
{
    if (directory.isEmpty() || directory.back() == separator)
        return directory + fileName;
    return directory + separator + fileName;
}

QByteArray composePath(const QByteArray &directory, const QByteArray &fileName, char separator)
{
    if (directory.isEmpty() || cp932::endsWithSingleByte(directory, separator))
        return directory + fileName;
    return directory + separator + fileName;
}

} // namespace nerubato
