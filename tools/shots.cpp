// Saves a picture of each window in the given state, for docs/.
// Usage: nerubato_shots OUTPUT_DIRECTORY [NAME...]   (no name: every shot)
#include "chooser/TsForm.h"
#include "editor/TForm1.h"
#include "platform/Platform.h"
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
class QuietPlatform : public SilentPlatform
{
public:
    void shellLaunch(QWidget *, const QString &, const QString &, const QString &, int) override {}
};

struct Shot
{
    QString name; // the file is NAME.png
    // Puts the window into the state to show and returns it.
    std::function<QWidget *(Forms &)> prepare;
    // For a modal message instead: opens it (the tool grabs and dismisses it).
    std::function<void(Forms &)> message = nullptr;
};

QPixmap grabMessage(Forms &forms, const std::function<void(Forms &)> &open)
{
    QPixmap picture;
    QTimer::singleShot(100, [&picture] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            picture = box->grab();
            box->close();
        }
    });
    open(forms);
    return picture;
}

const char *const kProgramFiles[] = {"backup.exe", "readme.txt", "setup.exe", "sync.exe",
                                     "バックアップ.bat"};

// A folder of programs where a user might keep one, so that the picture shows
// such a path rather than one of this tool's own: c:\tools on Windows (the
// tool runs in a Wine prefix of its own; the folder is made only where there
// is none, and removed again), and on Linux /mnt/tools on a memory file system
// that only this process sees, in a mount namespace of its own. Where neither
// can be had, a temporary folder, whose path the picture then shows as it is.
// Beside the folder, where its parent is this tool's own, two more to browse.
class ProgramFolder
{
public:
    ProgramFolder()
    {
#if defined(Q_OS_WIN)
        const QString folder = QStringLiteral("c:/tools");
        if (!QFileInfo::exists(folder) && QDir().mkdir(folder)) {
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
    forms.Form1->SlotAction = SlotAction::Save;
    forms.Form2->open({});
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
         [](Forms &f) {
             showMessage(*f.platform, MessageType::Error,
                         {QStringLiteral("quorvex.exe 実行結果 2026/12/07 08:30"),
                          QStringLiteral("起動条件: 判定なし（テスト実行）"),
                          QStringLiteral("ＰＧＭ１ C:\\TOOLS\\BACKUP.EXE 正常終了"),
                          QStringLiteral("ＰＧＭ2 C:\\TOOLS\\SYNC.EXE 正常終了"),
                          QStringLiteral("ＰＧＭ3 未設定"), QStringLiteral("ＰＧＭ4 未設定"),
                          QStringLiteral("ＰＧＭ5 未設定")},
                         Ok);
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
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        err << "usage: nerubato_shots OUTPUT_DIRECTORY [NAME...]\n";
        return 2;
    }
    const QDir out(args.first());
    const QStringList wanted = args.mid(1);

    QuietPlatform platform;
    WindowSet windows(platform);
    int failures = 0;
    for (const Shot &shot : shots()) {
        if (!wanted.isEmpty() && !wanted.contains(shot.name))
            continue;
        const QString file = out.filePath(shot.name + QStringLiteral(".png"));
        QWidget *window = nullptr;
        QPixmap picture;
        if (shot.message) {
            picture = grabMessage(windows.forms(), shot.message);
        } else {
            window = shot.prepare(windows.forms());
            window->show();
            QApplication::processEvents();
            picture = window->grab();
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
