#include "Report.h"

#include "settings/Cp932.h"
#include "settings/RunnerContract.h"

namespace nerubato::runner {

namespace {

// Every text of the report is one CP932 can hold.
QByteArray sjis(const QString &text)
{
    return cp932::encode(text).value_or(QByteArray("?"));
}

QString hhmm(const QTime &t)
{
    return t.toString(u"HH:mm");
}

// A damaged line may be of any length: the report shows its head.
QByteArray head(const QByteArray &bytes)
{
    constexpr qsizetype kShown = 40;
    qsizetype end = 0;
    while (end < bytes.size()) {
        const qsizetype next = cp932::nextCharacter(bytes, end, cp932::LeadTakes::TrailByte);
        if (next > kShown)
            return bytes.first(end) + "...";
        end = next;
    }
    return bytes;
}

const char16_t *const kWeekdays[] = {u"日", u"月", u"火", u"水", u"木", u"金", u"土"};
// As the editor labels its rows.
const char16_t *const kProgramLabels[] = {u"ＰＧＭ１", u"ＰＧＭ2", u"ＰＧＭ3", u"ＰＧＭ4", u"ＰＧＭ5"};

} // namespace

QByteArray conditionsText(const Plan &plan, const Decision &decision, const QDateTime &now)
{
    const ScheduleSettings &s = plan.record;
    const QString window = hhmm(plan.from) + u'～' + hhmm(plan.to);
    if (decision.skipped)
        return sjis(QStringLiteral("判定を省略しました（テスト実行）"));
    switch (decision.verdict) {
    case Verdict::Run:
    case Verdict::Wait:
        return sjis(s.kido_Mode == KidoMode::Timer
                        ? QStringLiteral("満たしています（タイマー起動 %1）").arg(hhmm(plan.timer))
                        : QStringLiteral("満たしています（即時起動 %1）").arg(window));
    case Verdict::WrongDate:
        return sjis(QStringLiteral("今日は起動日（%1）ではありません")
                        .arg(QString::fromLatin1(s.kidobi_Date)));
    case Verdict::NoWeekday:
        return sjis(QStringLiteral("起動曜日が1つも選ばれていません"));
    case Verdict::WrongWeekday:
        return sjis(QStringLiteral("今日（%1曜日）は起動曜日ではありません")
                        .arg(QString::fromUtf16(kWeekdays[now.date().dayOfWeek() % 7])));
    case Verdict::OutsideWindow:
        return sjis(QStringLiteral("%1 は起動時間（%2）の外です").arg(hhmm(now.time()), window));
    case Verdict::AlreadyRun:
        return sjis(QStringLiteral("一日一度だけ起動する設定で、今日はもう起動しています"));
    case Verdict::TimerPassed:
        return sjis(QStringLiteral("タイマー起動の時刻 %1 を過ぎています").arg(hhmm(plan.timer)));
    }
    return {};
}

QByteArray damageText(const Damage &damage)
{
    const QString file = kRegistrationFile;
    if (damage.missing)
        return sjis(QStringLiteral("%1 の %2 行目がありません（%3 行が必要です）")
                        .arg(file)
                        .arg(damage.line)
                        .arg(kSettingsLineCount));
    return sjis(QStringLiteral("%1 の %2 行目が正しくありません: ").arg(file).arg(damage.line)) +
           '"' + head(damage.text) + '"';
}

QByteArray notRegisteredText()
{
    return sjis(QStringLiteral("%1 がありません").arg(kRegistrationFile));
}

QByteArray alreadyRunningText()
{
    return sjis(QStringLiteral("判定していません（%1 がこのフォルダーで実行中です）").arg(kRunnerFile));
}

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

QStringList dayNotes(const Plan &plan, bool marker, const QDate &written, const QString &error)
{
    const ScheduleSettings &s = plan.record;
    if (!s.ikkai_Flag || s.kido_Mode != KidoMode::Sokuji)
        return {};
    if (marker)
        return {QStringLiteral("テスト実行のため、一日一度の記録（%1）は変えていません").arg(kDayFile)};
    if (!error.isEmpty())
        return {QStringLiteral("一日一度の記録を書けませんでした: %1").arg(error)};
    if (written.isValid())
        return {QStringLiteral("一日一度の記録: %1 を %2 に書きました")
                    .arg(written.toString(u"yyyy/MM/dd"), kDayFile)};
    return {QStringLiteral("一日一度の記録: 全てのプログラムが終わったときに %1 に書きます").arg(kDayFile)};
}

QByteArray commandLine(const QByteArray &path, const QByteArray &arguments)
{
    return arguments.isEmpty() ? path : path + ' ' + arguments;
}

ProgramOutcomes notStarted(const Plan *plan)
{
    ProgramOutcomes outcomes;
    for (int i = 0; plan && i < ScheduleSettings::kEntries; ++i) {
        if (plan->hasProgram(i))
            outcomes[i] = {ProgramOutcome::Kind::NotStarted, {},
                           commandLine(plan->record.jikko_Path[i], plan->record.sw_Args[i]), {}};
    }
    return outcomes;
}

Lines reportLines(const RunOutcome &o)
{
    QString result;
    switch (o.result) {
    case Result::Started:
        result = QStringLiteral("プログラムを起動しました");
        break;
    case Result::SomeFailed:
        result = QStringLiteral("起動できないプログラムがありました");
        break;
    case Result::NothingSet:
        result = QStringLiteral("起動するプログラムが設定されていません");
        break;
    case Result::ConditionsNotMet:
        result = QStringLiteral("起動条件を満たしていないため起動しませんでした");
        break;
    case Result::Cancelled:
        result = QStringLiteral("中止したため起動しませんでした");
        break;
    case Result::Damaged:
        result = QStringLiteral("登録データに誤りがあるため起動しませんでした");
        break;
    case Result::NotRegistered:
        result = QStringLiteral("設定データが登録されていないため起動しませんでした");
        break;
    case Result::FileError:
        result = QStringLiteral("ファイルを扱えないため起動しませんでした");
        break;
    case Result::AlreadyRunning:
        result = QStringLiteral("%1 が実行中のため何もしませんでした").arg(kRunnerFile);
        break;
    }
    Lines lines;
    lines << sjis(result + u'　' + o.at.toString(u"yyyy/MM/dd HH:mm:ss"));
    lines << sjis(QStringLiteral("起動条件: ")) + o.conditions;
    for (int i = 0; i < ScheduleSettings::kEntries; ++i) {
        const ProgramOutcome &p = o.programs[i];
        QString state;
        switch (p.kind) {
        case ProgramOutcome::Kind::NotSet:
            state = QStringLiteral("設定なし");
            break;
        case ProgramOutcome::Kind::NotStarted:
            state = QStringLiteral("起動していません");
            break;
        case ProgramOutcome::Kind::Started:
            state = QStringLiteral("%1 に起動しました").arg(p.at.toString(u"HH:mm:ss"));
            break;
        case ProgramOutcome::Kind::Failed:
            state = QStringLiteral("起動できませんでした（%1）").arg(p.reason);
            break;
        }
        QByteArray line = sjis(programLabel(i) + QStringLiteral(": ") + state);
        if (!p.commandLine.isEmpty())
            line += "  " + p.commandLine;
        lines << line;
    }
    lines << sjis(QStringLiteral("Windows終了: ") + o.ending);
    for (const QString &note : o.notes)
        lines << sjis(note);
    return lines;
}

} // namespace nerubato::runner
