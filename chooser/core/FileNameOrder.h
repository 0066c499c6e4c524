#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace nerubato {

// The order a file list is expected in: letters compare without regard to
// case and a run of digits by its value, so "file9" comes before "File10".
// Names equal by that measure still get a fixed order, case-sensitively.
int compareFileNames(QStringView a, QStringView b);
void sortFileNames(QStringList &names);

// One step from a list in name order to another: count rows removed at row,
// or, when from is not negative, the names fresh[from, from + count) inserted
// at row. Rows count as they stand once the steps before have been taken.
struct NameRun
{
    qsizetype row;
    qsizetype count;
    qsizetype from = -1;
};

// The steps from the first oldCount names of old to the first freshCount of
// fresh, both in name order, that keep every name the two have in common.
QList<NameRun> diffNames(const QStringList &old, qsizetype oldCount, const QStringList &fresh,
                         qsizetype freshCount);

// Takes the steps one by one, as a model changes its rows: removed(first,
// last) for the rows first to last gone, inserted(first, last, from) for
// fresh[from, from + last - first] arriving at first.
template <typename Removed, typename Inserted>
void applyNameRuns(const QList<NameRun> &runs, Removed removed, Inserted inserted)
{
    for (const NameRun &run : runs) {
        const int first = int(run.row);
        const int last = int(run.row + run.count - 1);
        if (run.from < 0)
            removed(first, last);
        else
            inserted(first, last, run.from);
    }
}

} // namespace nerubato
