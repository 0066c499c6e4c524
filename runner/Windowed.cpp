#include "Windowed.h"

#include "Records.h"
#include "runner/core/Report.h"
#include "system/ProgramFolder.h"

#include <QLibrary>

namespace nerubato::runner {

int runWindowed(int &argc, char **argv, Start &&start)
{
    const QString name = QStringLiteral(NERUBATO_WINDOWED_FILE);
    QLibrary library(programFolder() + u'/' + name);
    if (const auto entry = reinterpret_cast<WindowedEntry>(library.resolve(kWindowedEntry)))
        return entry(&argc, argv, &start);
    RunRecord &r = start.record;
    r.troubles << QStringLiteral("画面の部品 %1 を読み込めないため、何も実行しませんでした（%2）")
                      .arg(name, library.errorString());
    if (start.plan) {
        r.result = Result::FileError;
        r.reportedAt = start.at;
        r.conditions = inCp932(r.troubles.last());
        account(start.folder, r, start.block, ReportWrite::Yes);
    } else {
        account(start.folder, r, start.block, ReportWrite::No);
    }
    return 1;
}

} // namespace nerubato::runner
