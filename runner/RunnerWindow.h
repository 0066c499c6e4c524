#pragma once

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
    explicit RunnerWindow(Platform &platform, QWidget *parent = nullptr);
    ~RunnerWindow() override;

    void showText(const QString &message, const QString &programs);
    void showSeconds(const QString &text);
    void offerRunNow(bool offered);

signals:
    void runNowPressed();
    // 中止, Esc or the close box.
    void cancelPressed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    std::unique_ptr<Ui::RunnerWindow> ui;
};

} // namespace runner
} // namespace nerubato
