#pragma once

#include "editor/ByteEdit.h"
#include "settings/ScheduleSettings.h"

#include <QAbstractButton>
#include <QButtonGroup>

#include <functional>
#include <vector>

namespace nerubato {

// The record and the controls that show it: one row a field, with its control
// and its kind. A field is given as a callable that picks it out of a record,
// const or not: [](auto &s) -> auto & { return s.kidobi_Flag; }.
class RecordBinding
{
public:
    template <typename Field> void flag(QAbstractButton *box, Field field)
    {
        m_rows.push_back({[box, field](ScheduleSettings &s) { field(s) = box->isChecked(); },
                          [box, field](const ScheduleSettings &s) { box->setChecked(field(s)); }});
    }

    // What the user left of a loaded text keeps its bytes (ByteEdit); a load
    // leaves a field alone that holds the bytes already, so that a field the
    // load never reached, or one that reads the same, keeps exactly what it had.
    template <typename Field> void text(ByteEdit *edit, Field field)
    {
        m_rows.push_back({[edit, field](ScheduleSettings &s) { field(s) = edit->bytes(); },
                          [edit, field](const ScheduleSettings &s) {
                              if (edit->bytes() != field(s))
                                  edit->setBytes(field(s));
                          }});
    }

    // A radio group whose button ids are the choice's values; with no button
    // checked the record gets `unchecked`.
    template <typename Field, typename Choice>
    void choice(QButtonGroup *group, Field field, Choice unchecked)
    {
        m_rows.push_back({[group, field, unchecked](ScheduleSettings &s) {
                              const int id = group->checkedId();
                              field(s) = id < 0 ? unchecked : Choice(id);
                          },
                          [group, field](const ScheduleSettings &s) {
                              group->button(int(field(s)))->setChecked(true);
                          }});
    }

    // Throws when a text field shows a character the file cannot hold.
    ScheduleSettings read() const
    {
        ScheduleSettings s;
        for (const Row &row : m_rows)
            row.read(s);
        return s;
    }

    // Only the states change: no rule runs.
    void write(const ScheduleSettings &s) const
    {
        for (const Row &row : m_rows)
            row.write(s);
    }

private:
    struct Row
    {
        std::function<void(ScheduleSettings &)> read;
        std::function<void(const ScheduleSettings &)> write;
    };
    std::vector<Row> m_rows;
};

} // namespace nerubato
