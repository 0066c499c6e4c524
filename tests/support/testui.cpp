#include "testui.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileSystemWatcher>
#include <QLayout>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace nerubato::test {

// The listings asked of the platform: shared with its listers, which the
// chooser's workers may hold after the platform has gone.
struct FakePlatform::Listings
{
    std::mutex mutex;
    std::condition_variable changed;
    int underWay = 0;
    QStringList answered;
};

FakePlatform::FakePlatform() : m_listings(std::make_shared<Listings>()) {}

void FakePlatform::shellLaunch(QWidget *, const QString &file, const QString &parameters,
                               const QString &directory, int showCommand)
{
    Launch launch{file, parameters, directory, QDir::currentPath(), showCommand};
    launches << launch;
    if (onLaunch)
        onLaunch(launch);
}

namespace {

class FakeProgram : public Platform::Program
{
public:
    explicit FakeProgram(std::shared_ptr<bool> ended) : m_ended(std::move(ended)) {}
    bool hasEnded() override { return *m_ended; }
    std::optional<int> exitCode() const override { return 0; }

private:
    std::shared_ptr<bool> m_ended;
};

} // namespace

Platform::Started FakePlatform::startProgram(const QString &path, const QString &arguments)
{
    programs << (arguments.isEmpty() ? path : path + u' ' + arguments);
    if (realPrograms)
        return Platform::startProgram(path, arguments);
    if (path == u"missing")
        return {nullptr, QStringLiteral("ファイルが見つかりません")};
    ended << std::make_shared<bool>(false);
    return {std::make_unique<FakeProgram>(ended.last()), {}};
}

Platform::DirectoryLister FakePlatform::directoryLister() const
{
    return [answer = onList, listings = m_listings](const QString &path, Entries entries,
                                                    const std::function<bool()> &dropped,
                                                    QStringList &names) {
        {
            const std::lock_guard lock(listings->mutex);
            ++listings->underWay;
        }
        std::optional<Listing> outcome = answer ? answer(path) : std::nullopt;
        if (!outcome)
            outcome = Platform::listDirectory(path, entries, dropped, names);
        {
            const std::lock_guard lock(listings->mutex);
            --listings->underWay;
            listings->answered << path;
        }
        listings->changed.notify_all();
        return *outcome;
    };
}

bool FakePlatform::waitListed(int timeoutMs, const QString &path) const
{
#ifdef Q_OS_WIN
    const Qt::CaseSensitivity pathCase = Qt::CaseInsensitive;
#else
    const Qt::CaseSensitivity pathCase = Qt::CaseSensitive;
#endif
    std::unique_lock lock(m_listings->mutex);
    return m_listings->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
        return m_listings->underWay == 0 &&
               (path.isEmpty() || m_listings->answered.contains(path, pathCase));
    });
}

QFileSystemWatcher *FakePlatform::directoryWatcher(QObject *parent)
{
    QFileSystemWatcher *watcher = Platform::directoryWatcher(parent);
    m_watchers.removeIf([](const QPointer<QFileSystemWatcher> &gone) { return gone.isNull(); });
    m_watchers << watcher;
    return watcher;
}

QStringList FakePlatform::watchedDirectories() const
{
    QStringList paths;
    for (const QPointer<QFileSystemWatcher> &watcher : m_watchers) {
        if (watcher)
            paths << watcher->directories();
    }
    return paths;
}

void press(const QWidget &window, const QString &button)
{
    auto *found = window.findChild<QAbstractButton *>(button);
    if (!found)
        qFatal("no button %s in %s", qPrintable(button), qPrintable(window.objectName()));
    QTest::mouseClick(found, Qt::LeftButton);
}

void fire(const QObject &window, const QString &timer)
{
    auto *found = window.findChild<QTimer *>(timer);
    if (!found)
        qFatal("no timer %s in %s", qPrintable(timer), qPrintable(window.objectName()));
    QMetaObject::invokeMethod(found, "timeout");
}

namespace {

constexpr int kPollInterval = 10;
// An answer that has not closed its box by then is given again.
constexpr int kRetryAfter = 250;
// On the box: the answer it was given, and when.
const char *const kAnswerProperty = "nerubatoAnswer";
const char *const kAnsweredAtProperty = "nerubatoAnsweredAt";
const char *const kOpenSinceProperty = "nerubatoOpenSince";

QStringList buttonsInOrder(QMessageBox *box)
{
    QList<QAbstractButton *> buttons = box->buttons();
    std::sort(buttons.begin(), buttons.end(), [](QAbstractButton *a, QAbstractButton *b) {
        return a->mapToGlobal(QPoint()).x() < b->mapToGlobal(QPoint()).x();
    });
    QStringList texts;
    for (auto *b : buttons)
        texts << b->text();
    return texts;
}

SeenMessage describeBox(QMessageBox *box)
{
    SeenMessage m;
    m.caption = box->windowTitle();
    m.text = box->text();
    m.icon = box->icon();
    box->layout()->activate();
    m.buttons = buttonsInOrder(box);
    m.defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
    m.escapeButton = box->escapeButton() ? box->escapeButton()->text() : QString();
    m.textFormat = box->textFormat();
    m.onTop = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    m.seen = true;
    return m;
}

// False when the answer could not be given yet (a key, before the box is the
// active window): sent to whatever has the focus, a key lands in another window.
bool give(QMessageBox *box, const QString &answer)
{
    if (answer == QLatin1String("<close>")) {
        box->close();
        return true;
    }
    if (answer == QLatin1String("<esc>") || answer == QLatin1String("<enter>")) {
        if (!box->isActiveWindow()) {
            box->activateWindow();
            return false;
        }
        QWidget *target = box->focusWidget() ? box->focusWidget() : box;
        QTest::keyClick(target, answer == QLatin1String("<esc>") ? Qt::Key_Escape : Qt::Key_Return);
        return true;
    }
    for (QAbstractButton *b : box->buttons()) {
        if (b->text() == answer) {
            b->click();
            return true;
        }
    }
    QTest::qFail(qPrintable(QStringLiteral("no button %1 in the message box \"%2\"")
                                .arg(answer, box->text())),
                 __FILE__, __LINE__);
    box->close();
    return true;
}

} // namespace

MessageAnswerer::MessageAnswerer(const QString &answer) : m_answers{answer}
{
    m_clock.start();
    m_timer.setInterval(kPollInterval);
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { answerOpenBox(); });
    m_timer.start();
}

MessageAnswerer::~MessageAnswerer() = default;

void MessageAnswerer::then(const QString &answer)
{
    m_answers << answer;
}

const SeenMessage &MessageAnswerer::seen() const
{
    static const SeenMessage none;
    return m_all.isEmpty() ? none : m_all.first();
}

void MessageAnswerer::answerOpenBox()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box || !box->isVisible())
        return;
    const QVariant given = box->property(kAnswerProperty);
    if (given.isValid()) {
        const qint64 at = box->property(kAnsweredAtProperty).toLongLong();
        if (m_clock.elapsed() - at >= kRetryAfter && give(box, given.toString()))
            box->setProperty(kAnsweredAtProperty, m_clock.elapsed());
        return;
    }
    if (m_answers.isEmpty())
        return;
    m_all << describeBox(box);
    const QString answer = m_answers.takeFirst();
    box->setProperty(kAnswerProperty, answer);
    // Not given yet: given at the next poll that can.
    box->setProperty(kAnsweredAtProperty, give(box, answer) ? m_clock.elapsed() : -kRetryAfter);
}

DialogGuard::DialogGuard()
{
    m_clock.start();
    m_timer.setInterval(100);
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { check(); });
    m_timer.start();
}

void DialogGuard::check()
{
    const qint64 now = m_clock.elapsed();
    for (QWidget *w : QApplication::topLevelWidgets()) {
        auto *dialog = qobject_cast<QDialog *>(w);
        if (!dialog || !dialog->isVisible() || !dialog->isModal())
            continue;
        const QVariant since = dialog->property(kOpenSinceProperty);
        if (!since.isValid()) {
            dialog->setProperty(kOpenSinceProperty, now);
            continue;
        }
        if (now - since.toLongLong() < kDialogBound)
            continue;
        const auto *box = qobject_cast<QMessageBox *>(dialog);
        QTest::qFail(qPrintable(QStringLiteral("a dialog nothing answered stayed open: \"%1\" \"%2\"")
                                    .arg(dialog->windowTitle(), box ? box->text() : QString())),
                     __FILE__, __LINE__);
        dialog->reject();
    }
}

} // namespace nerubato::test
