#pragma once

#include "shell/Forms.h"

#include <QWidget>

namespace nerubato {

// The program file chooser.
class TsForm : public QWidget
{
    Q_OBJECT

public:
    explicit TsForm(Forms &forms, QWidget *parent = nullptr);
    void FormCreate();

private:
    Forms &m_forms;
};

} // namespace nerubato
