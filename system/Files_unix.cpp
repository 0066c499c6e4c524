#include "Files.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <unistd.h>

namespace nerubato {

const int kReplaceRetry = 0;

QString longPathForm(const QString &path)
{
    return QDir::toNativeSeparators(QDir::cleanPath(QDir(path).absolutePath()));
}

bool readUnshared(const QString &fileName, int,
                  const std::function<bool(const char *data, qsizetype size)> &take)
{
    constexpr qsizetype kPiece = 64 * 1024;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return false;
    QByteArray piece(kPiece, Qt::Uninitialized);
    qint64 got = 0;
    while ((got = file.read(piece.data(), kPiece)) > 0 && take(piece.constData(), got)) {
    }
    return got >= 0;
}

bool syncToDisk(QSaveFile &file)
{
    int result;
    do {
#ifdef Q_OS_LINUX
        result = ::fdatasync(file.handle());
#else
        result = ::fsync(file.handle());
#endif
    } while (result != 0 && errno == EINTR);
    return result == 0;
}

bool replaceWasBlocked(const QString &)
{
    return false;
}

} // namespace nerubato
