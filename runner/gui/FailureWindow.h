#pragma once

#include <QDateTime>
#include <QWidget>

#include <memory>

namespace Ui {
class FailureWindow;
}

namespace nerubato {

class Platform;

namespace runner {

// Tells, at a real start, what went wrong: on top of every window, holding
// nothing up (the run goes on behind it), until OK, Esc or the close box, or
// until kShownSeconds have passed since it last told something new.
class FailureWindow : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kShownSeconds = 600;

    explicit FailureWindow(Platform &platform, QWidget *parent = nullptr);
    ~FailureWindow() override;

    // Tells of the failures at `now`, unless there are none or they are what
    // the window told last. It comes on top without taking the keyboard from
    // the program in use.
    void tell(const QStringList &failures, const QString &historyPath, const QDateTime &now);
    // Closes the window once it has been shown for long enough.
    void expire(const QDateTime &now);

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    Platform &m_platform;
    std::unique_ptr<Ui::FailureWindow> ui;
    QDateTime m_toldAt;
};

} // namespace runner
} // namespace nerubato
