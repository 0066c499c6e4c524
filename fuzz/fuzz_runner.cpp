// The runner's rules on any registration: bytes -> splitLines -> readPlan,
// then, for a plan, the decision at a time taken from the input, the order of
// the programs and the report. Properties:
//  - a damaged registration names a line of the file (1 to 49), and the line
//    it names is the one it quotes;
//  - a plan's times and numbers are inside their ranges;
//  - a wait is for later the same day, and only for a timer start;
//  - the reserved word's replacement keeps every other character, so the text
//    keeps its length (the word and the date are six bytes each);
//  - every report has at least seven lines, none with a line end inside.

#include "fuzzcheck.h"
#include "runner/core/Report.h"
#include "runner/core/Rules.h"
#include "settings/SettingsFile.h"

#include <fuzzer/FuzzedDataProvider.h>

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
    RunOutcome outcome{Result::Damaged, now, {}, {}, {}, {}};
    if (const Damage *damage = std::get_if<Damage>(&read)) {
        FUZZ_CHECK(damage->line >= 1 && damage->line <= kSettingsLineCount);
        FUZZ_CHECK(damage->missing ? damage->line == lines.size() + 1
                                   : damage->text == lines[damage->line - 1]);
        outcome.conditions = damageText(*damage);
        outcome.programs = notStarted(nullptr);
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
        outcome.programs = notStarted(&plan);
        outcome.ending = endingText(plan, false, marker);
    }
    const Lines report = reportLines(outcome);
    FUZZ_CHECK(report.size() >= 7);
    for (const QByteArray &line : report)
        FUZZ_CHECK(!line.contains('\r') && !line.contains('\n'));
    return 0;
}
