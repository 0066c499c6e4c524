#include "History.h"

#include "Report.h"
#include "Texts.h"
#include "settings/Cp932.h"
#include "settings/SettingsFile.h"

namespace nerubato::runner {

namespace {

// A line of the block never opens like a block: each starts with a caption.
QByteArray line(const QString &text)
{
    return inCp932(text) + "\r\n";
}

QString resultWords(const RunRecord &r)
{
    if (r.result == Result::Started && !r.reportedAt.isValid())
        return QStringLiteral("これからプログラムを起動します");
    return resultText(r);
}

QString endWords(const RunRecord &r)
{
    const QString at = r.endAt.toString(u"HH:mm:ss");
    switch (r.end) {
    case EndOutcome::None:
    case EndOutcome::Pending:
        return r.ending;
    case EndOutcome::Cancelled:
        return QStringLiteral("%1 に「中止」が押されたため、終了しませんでした").arg(at);
    case EndOutcome::Declined:
        return QStringLiteral("テスト実行の確認で「はい」が選ばれなかったため、終了しませんでした");
    case EndOutcome::Ended:
        return QStringLiteral("%1 に終了を始めました（%2）").arg(at, r.endAction);
    case EndOutcome::Skipped:
        return QStringLiteral("%1 に終了するところでしたが、この環境では Windows を終了しません")
            .arg(at);
    case EndOutcome::Failed:
        return QStringLiteral("%1 に終了しようとしましたが、できませんでした").arg(at);
    }
    return {};
}

// "yyyy/mm/dd hh:mm:ss" at the line's start; looked at for every line of a
// history at every start, so by hand.
bool opensBlock(const QByteArray &l)
{
    static constexpr char kForm[] = "0000/00/00 00:00:00";
    if (l.size() < qsizetype(sizeof kForm) - 1)
        return false;
    for (qsizetype i = 0; i < qsizetype(sizeof kForm) - 1; ++i) {
        if (kForm[i] == '0' ? (l[i] < '0' || l[i] > '9') : l[i] != kForm[i])
            return false;
    }
    return true;
}

// The blocks of a history, each its lines ended by CR LF, without the empty
// lines around it.
QList<QByteArray> blocksOf(const QByteArray &history)
{
    QList<QByteArray> blocks;
    for (const QByteArray &l : splitLines(history)) {
        if (opensBlock(l))
            blocks << QByteArray();
        if (!blocks.isEmpty() && !l.isEmpty())
            blocks.last() += l + "\r\n";
    }
    return blocks;
}

} // namespace

QByteArray historyBlock(const RunRecord &r)
{
    QByteArray block = line(r.startedAt.toString(u"yyyy/MM/dd HH:mm:ss ") +
                            (r.marker ? QStringLiteral("テスト実行: ") : QStringLiteral("実行: ")) +
                            resultWords(r));
    block += line(QStringLiteral("起動条件: ") + r.reason);
    bool any = false;
    for (int i = 0; i < ScheduleSettings::kEntries; ++i) {
        const ProgramOutcome &p = r.programs[i];
        if (p.kind == ProgramOutcome::Kind::NotSet)
            continue;
        any = true;
        const QString label = programLabel(i) + QStringLiteral(": ");
        block += inCp932(label + programState(p)) + "  " +
                 // A path and its arguments may be of any length: one start
                 // never fills the history.
                 headOf(p.commandLine, 1000) + "\r\n";
        if (p.endedAt.isValid())
            block += line(label +
                          QStringLiteral("%1 に終わりました").arg(p.endedAt.toString(u"HH:mm:ss")) +
                          (p.exitCode != 0 ? QStringLiteral("（終了コード %1）").arg(p.exitCode)
                                           : QString()));
    }
    if (!any)
        block += line(QStringLiteral("プログラム: 設定されていません"));
    if (const QString day = dayLine(r); !day.isEmpty())
        block += line(day);
    block += line(QStringLiteral("Windows終了: ") + endWords(r));
    if (!r.next.isEmpty()) // a start that read no schedule may have none
        block += line(r.next);
    for (const QString &trouble : r.troubles)
        block += line(trouble);
    return block;
}

QByteArray withBlock(const QByteArray &history, const QByteArray &previous, const QByteArray &block)
{
    QList<QByteArray> blocks = blocksOf(history);
    const qsizetype at = previous.isEmpty() ? -1 : blocks.lastIndexOf(previous);
    if (at >= 0)
        blocks[at] = block;
    else
        blocks << block;
    // Each block and the empty line before the next.
    qsizetype size = -2;
    for (const QByteArray &b : blocks)
        size += b.size() + 2;
    qsizetype drop = 0;
    while (blocks.size() - drop > 1 &&
           (blocks.size() - drop > kHistoryStarts || size > kHistoryBytes))
        size -= blocks[drop++].size() + 2;
    return blocks.sliced(drop).join("\r\n");
}

} // namespace nerubato::runner
