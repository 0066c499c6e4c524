#pragma once

#include "shell/Forms.h"

#include <QWidget>

namespace nerubato {

// The slot chooser: one window serving both saving and loading.
class TForm2 : public QWidget
{
    Q_OBJECT

public:
    explicit TForm2(Forms &forms, QWidget *parent = nullptr);
    void FormCreate();

private:
    Forms &m_forms;
};

} // namespace nerubato
