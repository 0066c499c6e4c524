#include "RunnerContract.h"

#include "Cp932.h"
#include "SettingsFile.h"

#include <QStringList>

namespace nerubato::runner {

QByteArray markerBytes()
{
    return *cp932::encode(u"このファイルは条件判定処理を行わない場合に作成されるファイルです") +
           "\r\n";
}

QString readReport(const QString &fileName)
{
    QStringList shown;
    for (const QByteArray &line : loadFirstLines(fileName, kReportLines))
        shown << cp932::decode(line);
    return shown.join(QStringLiteral("\r\n"));
}

} // namespace nerubato::runner
