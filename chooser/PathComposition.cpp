#include "PathComposition.h"

#include "settings/Cp932.h"

namespace nerubato {

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
