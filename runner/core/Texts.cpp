#include "Texts.h"

#include "Rules.h"
#include "settings/Cp932.h"

namespace nerubato::runner {

namespace {

const char16_t *const kProgramLabels[] = {u"ＰＧＭ１", u"ＰＧＭ2", u"ＰＧＭ3", u"ＰＧＭ4",
                                          u"ＰＧＭ5"};

QString hhmm(const QTime &t)
{
    return t.toString(u"HH:mm");
}

const QString kCancelHint = QStringLiteral("「中止」を押すと終了しません。");

} // namespace

QString programLabel(int entry)
{
    return QString::fromUtf16(kProgramLabels[entry]);
}

QString endAction(const Plan &plan)
{
    return plan.record.shutdown_Mode == ShutdownMode::Shutdown
               ? QStringLiteral("コンピュータの電源を切れる状態にします")
               : QStringLiteral("コンピュータを再起動します");
}

QString endingText(const Plan &plan, bool canEnd, bool marker)
{
    const ScheduleSettings &s = plan.record;
    if (s.syuryo_Mode == SyuryoMode::Syuryo3)
        return QStringLiteral("しません");
    const QString what = endAction(plan);
    QString text = s.syuryo_Mode == SyuryoMode::Syuryo1
                       ? QStringLiteral("全ての作業実行後に") + what
                       : QStringLiteral("%1 に").arg(hhmm(plan.endAt)) + what;
    text += QStringLiteral("（60秒前から中止できます）");
    if (marker)
        text += QStringLiteral("（テスト実行のため、その前に確認します）");
    if (!canEnd)
        text += QStringLiteral("（この環境では Windows を終了しません）");
    return text;
}

QString noEndingText()
{
    return QStringLiteral("しません（プログラムを起動していません）");
}

QString programList(const Plan &plan, const QByteArray &word)
{
    QStringList lines;
    for (int i = 0; i < ScheduleSettings::kEntries; ++i) {
        if (!plan.hasProgram(i))
            continue;
        QByteArray line = asRun(plan.record.jikko_Path[i], word);
        if (const QByteArray arguments = asRun(plan.record.sw_Args[i], word); !arguments.isEmpty())
            line += ' ' + arguments;
        lines << programLabel(i) + QStringLiteral("  ") + cp932::decode(line);
    }
    return lines.join(u'\n');
}

QString waitingText(const Plan &plan)
{
    return QStringLiteral("%1 に次のプログラムを実行します（タイマー起動）。")
        .arg(hhmm(plan.timer));
}

QString countdownText()
{
    return QStringLiteral("次のプログラムを実行します。「中止」を押すと何も実行しません。");
}

QString countdownSeconds(int left)
{
    return QStringLiteral("あと %1 秒で実行します").arg(left);
}

QString endWaitText(const Plan &plan, const QDateTime &endAt)
{
    const QString when = plan.record.syuryo_Mode == SyuryoMode::Syuryo2
                             ? QStringLiteral("%1 に、").arg(hhmm(endAt.time()))
                             : QStringLiteral("全てのプログラムが終わったら、");
    return when + endAction(plan) + u'。' + kCancelHint;
}

QString endCountdownText(const Plan &plan)
{
    return endAction(plan) + u'。' + kCancelHint;
}

QString endSeconds(int left)
{
    return QStringLiteral("あと %1 秒").arg(left);
}

QStringList endQuestion(const Plan &plan)
{
    return {QStringLiteral("テスト実行が終わりました。"),
            QStringLiteral("設定どおり%1か？").arg(endAction(plan))};
}

QStringList failures(const RunRecord &r)
{
    QStringList found;
    for (int i = 0; i < ScheduleSettings::kEntries; ++i) {
        const ProgramOutcome &p = r.programs[i];
        if (p.kind == ProgramOutcome::Kind::Failed)
            found << QStringLiteral("%1 を起動できませんでした（%2）\n　%3")
                         .arg(programLabel(i), p.reason, cp932::decode(p.commandLine));
    }
    if (r.day == DayOutcome::Failed)
        found << QStringLiteral("一日一度の記録を書けませんでした（%1）").arg(r.dayError);
    if (r.end == EndOutcome::Failed)
        found << QStringLiteral("Windows を終了できませんでした");
    return found + r.troubles;
}

QString failureText(const QStringList &failures, const QString &historyPath)
{
    QString text =
        QStringLiteral("実行プログラム quorvex.exe で、うまくいかなかったことがあります。\n\n");
    for (const QString &failure : failures)
        text += QStringLiteral("・") + failure + u'\n';
    return text + QStringLiteral("\nくわしくは実行の記録をご覧ください:\n") + historyPath;
}

} // namespace nerubato::runner
