#include "Report.h"

#include "NextStart.h"
#include "settings/Cp932.h"
#include "settings/RunnerContract.h"

#include <algorithm>

namespace nerubato::runner {

namespace {

QString hhmm(const QTime &t)
{
    return t.toString(u"HH:mm");
}

QString window(const Plan &plan)
{
    return hhmm(plan.from) + u'～' + hhmm(plan.to);
}

} // namespace

QString resultText(const RunRecord &r)
{
    switch (r.result) {
    case Result::Started:
        return QStringLiteral("プログラムを起動しました");
    case Result::SomeFailed:
        return QStringLiteral("起動できないプログラムがありました");
    case Result::NothingSet:
        return QStringLiteral("起動するプログラムが設定されていません");
    case Result::ConditionsNotMet:
        return QStringLiteral("起動条件を満たしていないため起動しませんでした");
    case Result::Cancelled:
        return QStringLiteral("中止したため起動しませんでした");
    case Result::Damaged:
        return QStringLiteral("登録データに誤りがあるため起動しませんでした");
    case Result::NotRegistered:
        return QStringLiteral("設定データが登録されていないため起動しませんでした");
    case Result::FileError:
        return QStringLiteral("ファイルを扱えないため起動しませんでした");
    case Result::AlreadyRunning:
        return QStringLiteral("%1 が実行中のため何もしませんでした").arg(kRunnerFile);
    }
    return {};
}

QString programState(const ProgramOutcome &p)
{
    switch (p.kind) {
    case ProgramOutcome::Kind::NotSet:
        return QStringLiteral("設定なし");
    case ProgramOutcome::Kind::NotStarted:
        return QStringLiteral("起動していません");
    case ProgramOutcome::Kind::Started:
        return QStringLiteral("%1 に起動しました").arg(p.at.toString(u"HH:mm:ss"));
    case ProgramOutcome::Kind::Failed:
        return QStringLiteral("起動できませんでした（%1）").arg(p.reason);
    }
    return {};
}

QByteArray conditionsText(const Plan &plan, const Decision &decision, const QDateTime &now)
{
    const ScheduleSettings &s = plan.record;
    if (decision.skipped)
        return inCp932(QStringLiteral("判定を省略しました（テスト実行）"));
    switch (decision.verdict) {
    case Verdict::Run:
    case Verdict::Wait:
        return inCp932(
            s.kido_Mode == KidoMode::Timer
                ? QStringLiteral("満たしています（タイマー起動 %1）").arg(hhmm(plan.timer))
                : QStringLiteral("満たしています（即時起動 %1）").arg(window(plan)));
    case Verdict::WrongDate:
        return inCp932(QStringLiteral("今日は起動日（%1）ではありません")
                           .arg(QString::fromLatin1(s.kidobi_Date)));
    case Verdict::NoWeekday:
        return inCp932(QStringLiteral("起動曜日が1つも選ばれていません"));
    case Verdict::WrongWeekday:
        return inCp932(
            QStringLiteral("今日（%1曜日）は起動曜日ではありません").arg(weekdayName(now.date())));
    case Verdict::OutsideWindow:
        return inCp932(
            QStringLiteral("%1 は起動時間（%2）の外です").arg(hhmm(now.time()), window(plan)));
    case Verdict::AlreadyRun:
        return inCp932(QStringLiteral("一日一度だけ起動する設定で、今日はもう起動しています"));
    case Verdict::TimerPassed:
        return inCp932(
            QStringLiteral("タイマー起動の時刻 %1 を過ぎています").arg(hhmm(plan.timer)));
    }
    return {};
}

QString reasonText(const Plan &plan, const Decision &decision, const QDateTime &now)
{
    const ScheduleSettings &s = plan.record;
    const QString at = QStringLiteral("（起動したのは %1）").arg(hhmm(now.time()));
    if (decision.skipped)
        return QStringLiteral("テスト実行のため確かめていません");
    switch (decision.verdict) {
    case Verdict::Run:
    case Verdict::Wait:
        return s.kido_Mode == KidoMode::Timer
                   ? QStringLiteral("満たしています（タイマー起動 %1）").arg(hhmm(plan.timer))
                   : QStringLiteral("満たしています（即時起動 %1、起動したのは %2）")
                         .arg(window(plan), hhmm(now.time()));
    case Verdict::WrongDate:
        return QStringLiteral("今日は %1 で、起動日 %2 ではありません")
            .arg(now.date().toString(u"MM/dd"), QString::fromLatin1(s.kidobi_Date));
    case Verdict::NoWeekday:
        return QStringLiteral("起動曜日が1つも選ばれていません");
    case Verdict::WrongWeekday: {
        QStringList days;
        for (int d = 0; d < 7; ++d) {
            if (s.yobi_Days[d])
                days << weekdayName(d);
        }
        return QStringLiteral("今日は%1曜日です。起動曜日は %2 です")
            .arg(weekdayName(now.date()), days.join(u'・'));
    }
    case Verdict::OutsideWindow:
        return QStringLiteral("即時起動の時間 %1 の外です").arg(window(plan)) + at;
    case Verdict::AlreadyRun:
        return QStringLiteral("一日一度だけ起動する設定で、今日 %1 はもう実行しています")
            .arg(now.date().toString(u"yyyy/MM/dd"));
    case Verdict::TimerPassed:
        return QStringLiteral("タイマー起動の時刻 %1 を過ぎています").arg(hhmm(plan.timer)) + at;
    }
    return {};
}

QByteArray damageText(const Damage &damage)
{
    const QString file = kRegistrationFile;
    if (damage.missing)
        return inCp932(QStringLiteral("%1 の %2 行目がありません（%3 行が必要です）")
                           .arg(file)
                           .arg(damage.line)
                           .arg(kSettingsLineCount));
    return inCp932(QStringLiteral("%1 の %2 行目が正しくありません: ").arg(file).arg(damage.line)) +
           '"' + shown(headOf(damage.text, 40)) + '"';
}

QByteArray notRegisteredText()
{
    return inCp932(QStringLiteral("%1 がありません").arg(kRegistrationFile));
}

QByteArray alreadyRunningText()
{
    return inCp932(
        QStringLiteral("判定していません（%1 がこのフォルダーで実行中です）").arg(kRunnerFile));
}

QString dayLine(const RunRecord &r)
{
    const QString caption = QStringLiteral("一日一度の記録: ");
    const QString onRecord =
        r.dayOnRecord ? r.dayOnRecord->toString(u"yyyy/MM/dd") : QStringLiteral("まだありません");
    switch (r.day) {
    case DayOutcome::None:
        return {};
    case DayOutcome::Untouched:
        return caption + QStringLiteral("%1（変えていません）").arg(onRecord);
    case DayOutcome::TestRun:
        return caption + QStringLiteral("テスト実行のため %1 は変えていません").arg(kDayFile);
    case DayOutcome::Pending:
        return caption +
               QStringLiteral("全てのプログラムが終わったときに %1 に書きます").arg(kDayFile);
    case DayOutcome::Written:
        return caption + QStringLiteral("%1 を %2 に書きました").arg(onRecord, kDayFile);
    case DayOutcome::Failed:
        return caption + QStringLiteral("書けませんでした（%1）").arg(r.dayError);
    case DayOutcome::LeftFree:
        return caption +
               QStringLiteral(
                   "起動できたプログラムがないため書いていません（今日もう一度実行できます）");
    }
    return {};
}

QByteArray inCp932(const QString &text)
{
    if (const std::optional<QByteArray> whole = cp932::encode(text))
        return *whole;
    QByteArray out;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        out += cp932::encode(QStringView(text).sliced(i, n)).value_or(QByteArray("?"));
        i += n;
    }
    return out;
}

QByteArray shown(const QByteArray &bytes)
{
    if (!cp932::decode(bytes).contains(QChar::ReplacementCharacter))
        return bytes;
    QByteArray out;
    for (qsizetype i = 0; i < bytes.size();) {
        const qsizetype next = cp932::nextCharacter(bytes, i, cp932::LeadTakes::TrailByte);
        const QByteArray character = bytes.sliced(i, next - i);
        if (cp932::decode(character) != QChar(QChar::ReplacementCharacter)) {
            out += character;
        } else {
            for (char byte : character)
                out += '<' + QByteArray(1, byte).toHex().toUpper() + '>';
        }
        i = next;
    }
    return out;
}

QByteArray headOf(const QByteArray &bytes, qsizetype maxBytes)
{
    qsizetype end = 0;
    while (end < bytes.size()) {
        const qsizetype next = cp932::nextCharacter(bytes, end, cp932::LeadTakes::TrailByte);
        if (next > maxBytes)
            return bytes.first(end) + "...";
        end = next;
    }
    return bytes;
}

QByteArray commandLine(const QByteArray &path, const QByteArray &arguments)
{
    return shown(arguments.isEmpty() ? path : path + ' ' + arguments);
}

ProgramOutcomes notStarted(const Lines &registration)
{
    // A short registration names what its lines hold: the rest reads as empty.
    Lines lines = registration;
    lines.resize(std::max<qsizetype>(lines.size(), kSettingsLineCount));
    ScheduleSettings read;
    linesToSettings(lines, read);
    ProgramOutcomes outcomes;
    for (int i = 0; i < ScheduleSettings::kEntries; ++i) {
        if (!read.jikko_Path[i].isEmpty())
            outcomes[i] = {ProgramOutcome::Kind::NotStarted,
                           {},
                           commandLine(read.jikko_Path[i], read.sw_Args[i]),
                           {},
                           {},
                           0};
    }
    return outcomes;
}

void settle(RunRecord &r, const Plan &plan, Result result, const QDateTime &now, bool ran,
            bool canEnd)
{
    r.result = result;
    r.reportedAt = now;
    r.ending = ran ? endingText(plan, canEnd, r.marker) : noEndingText();
    r.end = ran && plan.record.syuryo_Mode != SyuryoMode::Syuryo3 ? EndOutcome::Pending
                                                                  : EndOutcome::None;
    r.next = nextStartLine(plan, now, r.dayOnRecord);
}

Result batchResult(const Batch &batch)
{
    const auto any = [&batch](std::initializer_list<Stage> stages) {
        return std::any_of(batch.begin(), batch.end(), [&stages](const EntryState &e) {
            return std::find(stages.begin(), stages.end(), e.stage) != stages.end();
        });
    };
    if (any({Stage::Failed}))
        return Result::SomeFailed;
    return any({Stage::Running, Stage::Ended}) ? Result::Started : Result::NothingSet;
}

Lines reportLines(const RunRecord &r)
{
    Lines lines;
    lines << inCp932(resultText(r) + u'　' + r.reportedAt.toString(u"yyyy/MM/dd HH:mm:ss"));
    lines << inCp932(QStringLiteral("起動条件: ")) + r.conditions;
    for (int i = 0; i < ScheduleSettings::kEntries; ++i) {
        const ProgramOutcome &p = r.programs[i];
        QByteArray line = inCp932(programLabel(i) + QStringLiteral(": ") + programState(p));
        if (!p.commandLine.isEmpty())
            line += "  " + p.commandLine;
        lines << line;
    }
    lines << inCp932(QStringLiteral("Windows終了: ") + r.ending);
    lines << inCp932(r.next);
    if (const QString day = dayLine(r); !day.isEmpty())
        lines << inCp932(day);
    for (const QString &trouble : r.troubles)
        lines << inCp932(trouble);
    return lines;
}

} // namespace nerubato::runner
