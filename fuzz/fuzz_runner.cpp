// The runner's rules on any registration: bytes -> splitLines -> readPlan,
// then, for a plan, the decision at a time taken from the input, the order of
// the programs and the report. Properties:
//  - a damaged registration names a line of the file (1 to 49), and the line
//    it names is the one it quotes;
//  - a plan's times and numbers are inside their ranges;
//  - a wait is for later the same day, and only for a timer start;
//  - the reserved word's replacement keeps every other character, so the text
//    keeps its length (the word and the date are six bytes each);
//  - every report has at least seven lines, none with a line end inside, each
//    valid CP932 whatever the registration's bytes;
//  - the history block opens with the start's moment and no other line of it
//    opens a block; put into any history (here: the input), it is kept whole,
//    as its newest, within the bound.

#include "fuzzcheck.h"
#include "runner/core/History.h"
#include "runner/core/NextStart.h"
#include "runner/core/Report.h"
#include "runner/core/Rules.h"
#include "settings/Cp932.h"
#include "settings/SettingsFile.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cctype>
#include <cstdint>

using namespace nerubato;
using namespace nerubato::runner;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const QDateTime now(QDate(2024, 1, 1).addDays(input.ConsumeIntegralInRange(0, 1500)),
                        QTime(0, 0).addSecs(input.ConsumeIntegralInRange(0, 86399)));
    const bool marker = input.ConsumeBool();
    const std::string rest = input.ConsumeRemainingBytesAsString();
    const Lines lines = splitLines(QByteArray(rest.data(), qsizetype(rest.size())));

    const auto read = readPlan(lines);
    RunRecord outcome;
    outcome.startedAt = now;
    outcome.result = Result::Damaged;
    outcome.reportedAt = now;
    outcome.marker = marker;
    outcome.programs = notStarted(lines);
    if (const Damage *damage = std::get_if<Damage>(&read)) {
        FUZZ_CHECK(damage->line >= 1 && damage->line <= kSettingsLineCount);
        FUZZ_CHECK(damage->missing ? damage->line == lines.size() + 1
                                   : damage->text == lines[damage->line - 1]);
        outcome.conditions = damageText(*damage);
    } else {
        const Plan &plan = std::get<Plan>(read);
        FUZZ_CHECK(plan.messageSeconds >= 3 && plan.messageSeconds <= 900);
        FUZZ_CHECK(plan.beepSeconds >= 0 && plan.beepSeconds <= 900);
        for (int minutes : plan.delayMinutes)
            FUZZ_CHECK(minutes >= 0 && minutes <= 300);
        const Decision d = decide(plan, now, now.date().addDays(-1), marker);
        if (d.verdict == Verdict::Wait) {
            FUZZ_CHECK(plan.record.kido_Mode == KidoMode::Timer);
            FUZZ_CHECK(d.at > now && d.at.date() == now.date());
        }
        const QByteArray word = dateWord(plan, now.date());
        for (int i = 0; i < ScheduleSettings::kEntries && word.size() == 6; ++i) {
            const QByteArray &path = plan.record.jikko_Path[i];
            FUZZ_CHECK(replaceDateWord(path, word).size() == path.size());
        }
        Batch batch = newBatch(plan);
        for (int entry : dueEntries(plan, batch, now, now))
            FUZZ_CHECK(batch[entry].stage == Stage::Pending);
        outcome.conditions = conditionsText(plan, d, now);
        outcome.reason = reasonText(plan, d, now);
        outcome.ending = endingText(plan, false, marker);
        outcome.next = nextStartLine(plan, now, now.date());
        FUZZ_CHECK(outcome.next.startsWith(QStringLiteral("次回: ")));
    }
    const Lines report = reportLines(outcome);
    FUZZ_CHECK(report.size() >= 7);
    for (const QByteArray &line : report) {
        FUZZ_CHECK(!line.contains('\r') && !line.contains('\n'));
        FUZZ_CHECK(!cp932::decode(line).contains(QChar::ReplacementCharacter));
    }
    const QByteArray block = historyBlock(outcome);
    const Lines blockLines = splitLines(block);
    FUZZ_CHECK(blockLines.first().startsWith(now.toString(u"yyyy/MM/dd HH:mm:ss").toLatin1()));
    const auto opensBlock = [](const QByteArray &line) {
        return line.size() >= 19 && std::isdigit(uchar(line[0])) && line[4] == '/' && line[10] == ' ';
    };
    FUZZ_CHECK(opensBlock(blockLines.first()));
    for (const QByteArray &line : blockLines.sliced(1))
        FUZZ_CHECK(!line.isEmpty() && !opensBlock(line));
    const QByteArray history = withBlock(QByteArray(rest.data(), qsizetype(rest.size())), {}, block);
    FUZZ_CHECK(history.endsWith(block));
    FUZZ_CHECK(history.size() <= std::max(kHistoryBytes, block.size()));
    return 0;
}
