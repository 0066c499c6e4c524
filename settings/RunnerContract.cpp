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
    const Lines lines = loadLines(fileName, Sharing::None);
    QStringList shown;
    for (qsizetype i = 0; i < lines.size() && i < kReportLines; ++i)
        shown << cp932::decode(lines[i]);
    return shown.join(QStringLiteral("\r\n"));
}

} // namespace nerubato::runner
