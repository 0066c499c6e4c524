#pragma once

// What a test of a window uses: a platform that records instead of acting,
// message boxes answered by the test, and a test main under which no dialog
// can stay open.

#include "platform/Platform.h"
#include "testcore.h"
#include "ui/SettingsTarget.h"

#include <QElapsedTimer>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QTest>

#include <functional>
#include <memory>
#include <optional>

class QFileSystemWatcher;

namespace nerubato {

// The real platform, less the beep: for the tests that run the real thing (the
// shell, the drives, the runner) beside other work.
class SilentPlatform : public Platform
{
public:
    void messageBeep() override {}
};

} // namespace nerubato

namespace nerubato::test {

// Records what the program asked of the platform instead of doing it. The
// directories it lists and watches are the real ones.
class FakePlatform : public Platform
{
public:
    struct Launch
    {
        QString file, parameters, directory, currentDirectory;
        int showCommand;
    };

    FakePlatform();

    void messageBeep() override { ++beeps; }
    void shellLaunch(QWidget *, const QString &file, const QString &parameters,
                     const QString &directory, int showCommand) override;
    QStringList drives() override { return fakeDrives; }
    Started startProgram(const QString &path, const QString &arguments) override;
    bool canEndSession() const override { return true; }
    SessionEnd endSession(bool restart) override
    {
        sessionEnds << restart;
        return SessionEnd::Ended;
    }
    DirectoryLister directoryLister() const override;
    QFileSystemWatcher *directoryWatcher(QObject *parent) override;

    int beeps = 0;
    QList<Launch> launches;
    QStringList fakeDrives;
    // Runs on every launch, in the launching process's current directory.
    std::function<void(const Launch &)> onLaunch;
    // The runner's programs, each "path arguments"; with realPrograms they
    // really start, else each runs until the test ends it (ended[i] = true),
    // and one whose path is "missing" cannot start.
    QStringList programs;
    bool realPrograms = false;
    QList<std::shared_ptr<bool>> ended;
    // Each end of the session asked for: true for a restart.
    QList<bool> sessionEnds;
    // Stands in for the file system where a test cannot make it answer so: a
    // path it answers for gets that answer and no names (a directory no
    // permission keeps root out of; a share that does not answer, when it
    // blocks). Each read takes it as it is when the chooser asks; it runs on
    // the chooser's worker, which may outlive this platform: what it uses, it
    // holds.
    std::function<std::optional<Listing>(const QString &path)> onList;

    // The directories the program's watchers watch now.
    QStringList watchedDirectories() const;
    // Blocks, with no event loop, until no listing is under way and, given a
    // path, one of it has been answered; false after timeoutMs. The chooser's
    // worker lists on its own thread: what it read then waits for this
    // thread's event loop, not yet taken in.
    bool waitListed(int timeoutMs, const QString &path = {}) const;

private:
    struct Listings;
    std::shared_ptr<Listings> m_listings;
    QList<QPointer<QFileSystemWatcher>> m_watchers;
};

// The editor as the other windows see it: records what they load into it, in
// the order of the steps.
struct FakeEditor : SettingsTarget
{
    void loadLines(const Lines &lines) override
    {
        loaded << lines;
        steps << QStringLiteral("load %1").arg(lines.size());
    }
    void EnableAll() override { steps << QStringLiteral("EnableAll"); }

    QList<Lines> loaded;
    QStringList steps;
};

// Clicks the window's button of that name with the mouse, as a user who
// found it there; a disabled one does nothing.
void press(const QWidget &window, const QString &button);
// Fires the window's timer of that name through its own signal, as its
// interval would: no test waits on a timer.
void fire(const QObject &window, const QString &timer);

// What a message box showed, captured as it was answered.
struct SeenMessage
{
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons; // in on-screen order
    QString defaultButton;
    QString escapeButton;
    Qt::TextFormat textFormat = Qt::AutoText;
    bool onTop = false;
    bool seen = false;
};

// Answers the next modal message box by pressing the button with this text,
// or with "<close>" its close box, "<esc>" the Esc key, "<enter>" the Enter
// key, and records what it showed. Keys go to the box's own focus widget once
// the box is the active window; an answer that left the box open is given
// again. Arm it before the action that opens the box.
class MessageAnswerer
{
public:
    explicit MessageAnswerer(const QString &answer);
    ~MessageAnswerer();
    MessageAnswerer(const MessageAnswerer &) = delete;
    MessageAnswerer &operator=(const MessageAnswerer &) = delete;

    // Answers the box after this one too, with another answer.
    void then(const QString &answer);
    // The first box answered.
    const SeenMessage &seen() const;
    const QList<SeenMessage> &all() const { return m_all; }

private:
    void answerOpenBox();

    QStringList m_answers;
    QList<SeenMessage> m_all;
    QTimer m_timer;
    QElapsedTimer m_clock;
};

// Fails the running test, with the dialog's caption and text, when a modal
// dialog is still open kDialogBound ms after it appeared, and closes it so
// that the run goes on: no test waits on a box that nothing answers.
class DialogGuard
{
public:
    static constexpr int kDialogBound = 10000;
    DialogGuard();

private:
    void check();

    QTimer m_timer;
    QElapsedTimer m_clock;
};

} // namespace nerubato::test

// QTEST_MAIN with a DialogGuard for the whole run.
#define NERUBATO_TEST_MAIN(TestObject)                                                             \
    QTEST_MAIN_WRAPPER(TestObject, QTEST_MAIN_SETUP() nerubato::test::DialogGuard dialogGuard;)
