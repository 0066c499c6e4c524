// Saves a picture of each window in the given state, for docs/.
// Usage: nerubato_shots [--frames] OUTPUT_DIRECTORY [NAME...]   (no name: every shot)
#include "FoundWindows.h"
#include "chooser/TsForm.h"
#include "editor/TForm1.h"
#include "platform/Platform.h"
#include "runner/core/Report.h"
#include "runner/gui/FailureWindow.h"
#include "runner/gui/Run.h"
#include "runner/gui/RunnerWindow.h"
#include "settings/Cp932.h"
#include "settings/RunnerContract.h"
#include "settings/SettingsFile.h"
#include "shell/TForm3.h"
#include "shell/WindowSet.h"
#include "storage/TForm2.h"
#include "ui/Look.h"
#include "ui/Messages.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <functional>
#include <iterator>
#include <memory>

#ifdef Q_OS_LINUX
#include <sched.h>
#include <sys/mount.h>
#endif

using namespace nerubato;

namespace {

// Nothing beeps and nothing is launched while the pictures are taken.
class QuietPlatform : public Platform
{
public:
    void messageBeep() override {}
    void shellLaunch(QWidget *, const QString &, const QString &, const QString &, int) override {}
    // The runner's programs have ended as soon as they are started.
    Started startProgram(const QString &, const QString &) override
    {
        struct Ended : Program
        {
            bool hasEnded() override { return true; }
            std::optional<int> exitCode() const override { return 0; }
        };
        return {std::make_unique<Ended>(), {}};
    }
};

struct Shot
{
    QString name; // the file is NAME.png
    // Puts the window into the state to show and returns it.
    std::function<QWidget *(Forms &)> prepare;
    // For a modal message instead: opens it (the tool grabs and dismisses it).
    std::function<void(Forms &)> message = nullptr;
};

// With frames (--frames, inside a desktop whose system draws them, as Wine's
// virtual desktop does), a window as the screen shows it, title bar included:
// the guide names windows by their titles. Otherwise the window alone.
bool withFrames = false;

QPixmap picture(QWidget *window)
{
    if (!withFrames)
        return window->grab();
    QElapsedTimer drawn; // the frame is drawn by the system, a moment later
    drawn.start();
    while (drawn.elapsed() < 500)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    const QRect frame = window->frameGeometry();
    return window->screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
}

QPixmap grabMessage(Forms &forms, const std::function<void(Forms &)> &open)
{
    QPixmap shot;
    QTimer::singleShot(100, [&shot] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            shot = picture(box);
            box->close();
        }
    });
    open(forms);
    return shot;
}

const char *const kProgramFiles[] = {"backup.exe", "readme.txt", "setup.exe", "sync.exe",
                                     "バックアップ.bat"};

// A folder of programs where a user might keep one, so that the picture shows
// such a path rather than one of this tool's own: c:\users\taro\tools on
// Windows, in the user's own profile as the guide advises (the tool runs in a
// Wine prefix of its own; the folder is made only where there is none, and
// removed again), and on Linux /mnt/tools on a memory file system
// that only this process sees, in a mount namespace of its own. Where neither
// can be had, a temporary folder, whose path the picture then shows as it is.
// Beside the folder, where its parent is this tool's own, two more to browse.
class ProgramFolder
{
public:
    ProgramFolder()
    {
#if defined(Q_OS_WIN)
        const QString folder = QStringLiteral("c:/users/taro/tools");
        if (!QFileInfo::exists(folder) && QDir().mkpath(folder)) {
            m_path = folder;
            m_made = true;
        }
#elif defined(Q_OS_LINUX)
        if (::unshare(CLONE_NEWNS) == 0 &&
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
            ::mount("tmpfs", "/mnt", "tmpfs", 0, "size=1m") == 0)
            fill(QStringLiteral("/mnt"));
#endif
        if (m_path.isEmpty()) {
            m_temporary = std::make_unique<QTemporaryDir>();
            fill(m_temporary->path());
        }
        QDir dir(m_path);
        for (const char *name : kProgramFiles) {
            QFile file(dir.filePath(QString::fromUtf8(name)));
            file.open(QIODevice::WriteOnly);
        }
    }
    ~ProgramFolder()
    {
        if (m_made)
            QDir(m_path).removeRecursively();
    }
    QString path() const
    {
        return m_path;
    }

private:
    void fill(const QString &root)
    {
        QDir dir(root);
        for (const char *sub : {"tools", "backup", "表計算"})
            dir.mkpath(QString::fromUtf8(sub));
        m_path = dir.filePath(QStringLiteral("tools"));
    }

    QString m_path;
    bool m_made = false;
    std::unique_ptr<QTemporaryDir> m_temporary;
};

// The chooser opens in the current directory: the folder of programs, its
// first file chosen.
QWidget *fileChooser(Forms &forms)
{
    static const ProgramFolder folder;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    forms.sForm->show();
    auto *list = forms.sForm->findChild<QListView *>(QStringLiteral("FileLBox"));
    QElapsedTimer waited;
    waited.start();
    while (list->model()->rowCount(list->rootIndex()) < qsizetype(std::size(kProgramFiles)) &&
           waited.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    list->setCurrentIndex(list->model()->index(0, 0, list->rootIndex()));
    QDir::setCurrent(previous);
    return forms.sForm;
}

QWidget *slotChooser(Forms &forms)
{
    forms.Form2->open(SlotAction::Save, {});
    return forms.Form2;
}

QWidget *editorPage(Forms &forms, const char *page)
{
    auto *tabs = forms.Form1->findChild<QTabWidget *>(QStringLiteral("PageControl1"));
    tabs->setCurrentWidget(tabs->findChild<QWidget *>(QLatin1String(page)));
    return forms.Form1;
}

// An edit field's context menu: Qt's own texts, in Japanese.
QWidget *editMenu(Forms &forms)
{
    editorPage(forms, "TabSheet1");
    auto *edit = forms.Form1->findChild<QLineEdit *>(QStringLiteral("jikko1_Edit"));
    edit->setText(QStringLiteral("C:\\TOOLS\\SETUP.EXE"));
    edit->selectAll();
    static QMenu *menu = edit->createStandardContextMenu();
    return menu;
}

// The runner on the diary example of the guide, at 08:30 on 2026/12/09, in a
// folder of its own (it writes its report and day there): how far it gets
// decides the window shown.
const QDateTime kRunnerStart(QDate(2026, 12, 9), QTime(8, 30));
const QString kDiary = QStringLiteral(
    "14=10;16=notepad.exe;26=C:\\Windows;21=C:\\Users\\taro\\Documents\\日記\\yymmdd.txt;47=true");

Lines diaryLines(const QString &changes)
{
    Lines lines = splitLines(
        "false\r\n01/01\r\nfalse\r\nfalse\r\nfalse\r\nfalse\r\nfalse\r\nfalse\r\nfalse\r\ntrue\r\n"
        "00:00\r\n23:59\r\n00:00\r\n10\r\n30\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n"
        "\r\nfalse\r\nfalse\r\nfalse\r\nfalse\r\nsyuryo3\r\n23:59\r\nfalse\r\nfalse\r\nfalse\r\ntrue\r\n0\r\n"
        "0\r\n0\r\n0\r\nfalse\r\ntrue\r\nfalse\r\nkidojiymd\r\n970101\r\n");
    for (const QString &change : (kDiary + u';' + changes).split(u';', Qt::SkipEmptyParts)) {
        const qsizetype eq = change.indexOf(u'=');
        lines[change.left(eq).toInt() - 1] = cp932::encode(change.mid(eq + 1)).value();
    }
    return lines;
}

struct RunnerShot
{
    QTemporaryDir folder;
    QDateTime now = kRunnerStart;
    std::unique_ptr<runner::Run> run;

    // Begins the run; with `ended`, presses すぐに実行 and follows it until
    // the programs have ended (a test run's question opens then).
    RunnerShot(Forms &f, const QString &changes, bool marker, bool ended)
    {
        QDir::setCurrent(folder.path());
        const StartFolder start(folder.path());
        start.writeRegistration(diaryLines(changes));
        if (marker)
            start.writeSkipMarker();
        run = std::make_unique<runner::Run>(*f.platform, [this] { return now; },
                                            runner::prepare(start, now));
        run->begin();
        if (!ended)
            return;
        window()->findChild<QPushButton *>(QStringLiteral("runNow_Btn"))->click();
        for (int tick = 0; tick < 3; ++tick)
            run->tick();
    }
    static QWidget *window()
    {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (qobject_cast<runner::RunnerWindow *>(w) && w->isVisible())
                return w;
        }
        return nullptr;
    }
};

QWidget *runnerWindow(Forms &f, const QString &changes, bool ended = false)
{
    static std::unique_ptr<RunnerShot> shown;
    shown = std::make_unique<RunnerShot>(f, changes, false, ended);
    return RunnerShot::window();
}

// The report of the diary example's test run, as the tool shows its lines.
QStringList diaryReport()
{
    const Lines registration = diaryLines({});
    const runner::Plan plan = std::get<runner::Plan>(runner::readPlan(registration));
    runner::RunRecord record;
    record.programs = runner::notStarted(registration);
    // As the guide's worked example tells it: started at 08:30:15.
    const QDateTime started = kRunnerStart.addSecs(15);
    record.programs[0] = {runner::ProgramOutcome::Kind::Started, started,
                          runner::commandLine("C:\\Windows\\notepad.exe",
                                              *cp932::encode(u"C:\\Users\\taro\\Documents\\日記\\261209.txt")),
                          {}, {}, 0};
    record.marker = true;
    record.conditions = runner::conditionsText(plan, {runner::Verdict::Run, kRunnerStart, true}, kRunnerStart);
    runner::settle(record, plan, runner::Result::Started, started, true, true);
    const Lines lines = runner::reportLines(record);
    QStringList shown;
    for (int i = 0; i < runner::kReportLines; ++i)
        shown << cp932::decode(lines[i]);
    return shown;
}

const QList<Shot> &shots()
{
    static const QList<Shot> list = {
        {QStringLiteral("editor-main"), [](Forms &f) { return editorPage(f, "TabSheet1"); }},
        {QStringLiteral("editor-options"), [](Forms &f) { return editorPage(f, "TabSheet3"); }},
        {QStringLiteral("editor-reserved"), [](Forms &f) { return editorPage(f, "TabSheet2"); }},
        {QStringLiteral("main-window"), [](Forms &f) -> QWidget * { return f.Form3; }},
        {QStringLiteral("slot-chooser"), slotChooser},
        {QStringLiteral("chooser"), fileChooser},
        {QStringLiteral("edit-menu"), editMenu},
        {QStringLiteral("message-information"), nullptr,
         [](Forms &f) {
             showMessage(*f.platform, MessageType::Information,
                         {QStringLiteral("ファイル３に保存しました"),
                          QStringLiteral("この設定を登録しますか？")},
                         Yes | No);
         }},
        {QStringLiteral("message-error"), nullptr,
         [](Forms &f) {
             showMessage(*f.platform, MessageType::Error,
                         {QStringLiteral("ファイル５にはデータが保存されていません"),
                          QStringLiteral("他のファイルを読み出しますか？")},
                         Yes | No);
         }},
        {QStringLiteral("message-confirmation"), nullptr,
         [](Forms &f) {
             showMessage(*f.platform, MessageType::Confirmation,
                         {QStringLiteral("  起動条件の判定を行いますか？"),
                          QStringLiteral("（いいえを選択すると、条件設定判定を行わず"),
                          QStringLiteral("即時に登録された作業のステップを実行します）")},
                         Yes | No | Cancel);
         }},
        {QStringLiteral("message-warning"), nullptr,
         [](Forms &f) {
             showMessage(*f.platform, MessageType::Warning, {QStringLiteral("警告の例")},
                         Ok | Cancel);
         }},
        {QStringLiteral("report-dialog"), nullptr,
         [](Forms &f) { showMessage(*f.platform, MessageType::Error, diaryReport(), Ok); }},
        {QStringLiteral("runner-countdown"), [](Forms &f) { return runnerWindow(f, {}); }},
        {QStringLiteral("runner-waiting"),
         [](Forms &f) { return runnerWindow(f, QStringLiteral("10=false;13=09:00;40=false")); }},
        {QStringLiteral("runner-end-countdown"),
         [](Forms &f) { return runnerWindow(f, QStringLiteral("35=syuryo1"), true); }},
        {QStringLiteral("runner-end-question"), nullptr,
         [](Forms &f) {
             static std::unique_ptr<RunnerShot> asking;
             asking = std::make_unique<RunnerShot>(f, QStringLiteral("35=syuryo1"), true, true);
         }},
        {QStringLiteral("runner-failure"),
         [](Forms &f) -> QWidget * {
             static std::unique_ptr<runner::FailureWindow> failure;
             failure = std::make_unique<runner::FailureWindow>(*f.platform);
             failure->tell({QStringLiteral("ＰＧＭ2 を起動できませんでした（ファイルが見つかりません）\n"
                                           "　C:\\Users\\taro\\tools\\backup.exe")},
                           QStringLiteral("C:\\Users\\taro\\AppData\\Local\\Programs\\nerubato\\jikkorireki.txt"), kRunnerStart);
             return failure.get();
         }},
        {QStringLiteral("general-error-box"), nullptr,
         [](Forms &f) {
             showErrorBox(*f.platform, QStringLiteral("ﾌｧｲﾙ hozondt4.dat を作成できません"));
         }},
    };
    return list;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    installLook();
    QTextStream err(stderr);
    QStringList args = app.arguments().mid(1);
    withFrames = args.removeAll(QStringLiteral("--frames")) > 0;
    if (args.isEmpty()) {
        err << "usage: nerubato_shots [--frames] OUTPUT_DIRECTORY [NAME...]\n";
        return 2;
    }
    const QDir out(args.first());
    const QStringList wanted = args.mid(1);

    QuietPlatform platform;
    WindowSet windows(platform);
    Forms forms = Forms::found(platform);
    int failures = 0;
    for (const Shot &shot : shots()) {
        if (!wanted.isEmpty() && !wanted.contains(shot.name))
            continue;
        const QString file = out.filePath(shot.name + QStringLiteral(".png"));
        QWidget *window = nullptr;
        QPixmap picture;
        if (shot.message) {
            picture = grabMessage(forms, shot.message);
        } else {
            window = shot.prepare(forms);
            window->show();
            QApplication::processEvents();
            picture = shot.name == u"edit-menu" ? window->grab() : ::picture(window);
        }
        if (!picture.isNull() && picture.save(file)) {
            QTextStream(stdout) << file << '\n';
        } else {
            err << "cannot write " << file << '\n';
            ++failures;
        }
        if (window)
            window->hide();
    }
    return failures == 0 ? 0 : 1;
}
