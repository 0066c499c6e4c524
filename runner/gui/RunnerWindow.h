#pragma once

#include "settings/ScheduleSettings.h"

#include <QWidget>

#include <memory>

namespace Ui {
class RunnerWindow;
}

namespace nerubato {

class Platform;

namespace runner {

// The runner's one small window, in the form each moment needs: the wait for
// a timer start, the countdown before the programs (with 「すぐに実行」), the
// wait for the end of Windows and its countdown. It shows what it is told
// and says what the user pressed; the run decides everything.
class RunnerWindow : public QWidget
{
    Q_OBJECT

public:
    enum class Form { Waiting, Countdown, EndWait, EndCountdown };
    // How the wait for a timer start shows: as it is, minimized once shown,
    // or minimized from the first.
    enum class Minimize { No, OnceShown, AtOnce };

    // As the schedule sets it (自動最小化する, 最初から最小化).
    static Minimize minimizing(const ScheduleSettings &record);

    explicit RunnerWindow(Platform &platform, QWidget *parent = nullptr);
    ~RunnerWindow() override;

    // Shows the window in a form, with its text and the programs it names;
    // the countdowns come on top of every window.
    void present(Form form, const QString &message, const QString &programs,
                 Minimize minimize = Minimize::No);
    void showSeconds(const QString &text);

signals:
    void runNowPressed();
    // 中止, Esc or the close box.
    void cancelPressed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    Platform &m_platform;
    std::unique_ptr<Ui::RunnerWindow> ui;
};

} // namespace runner
} // namespace nerubato
