#pragma once

#include "shell/Forms.h"

#include <QString>
#include <QTimer>
#include <QWidget>

#include <memory>

namespace Ui {
class TForm3;
}

namespace nerubato {

// The main window. Closing it ends the program.
class TForm3 : public QWidget
{
    Q_OBJECT

public:
    struct Poll
    {
        quint8 waiting = 0;
        qint32 ticks = 0;
    };

    explicit TForm3(Forms &forms, QWidget *parent = nullptr);
    ~TForm3() override;

    void FormCreate();

    void settei_BtnClick();
    void test_BtnClick();
    void kaijo_BtnClick();
    void help_BtnClick();
    void syuryo_Btn2Click();
    void Timer1Timer();

    void ApplyWindowMode();
    void ShellLaunch(const QString &file, const QString &parameters, const QString &directory,
                     int showCommand);

    quint8 WindowMode = 1;
    Poll ReportPoll;
    QString registrationFileName;
    QString reportFileName;
    QTimer *Timer1 = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void showEditor();

    std::unique_ptr<Ui::TForm3> ui;
    Forms &m_forms;
};

} // namespace nerubato
