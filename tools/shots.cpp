// Saves a picture of each window in the given state, for docs/.
// Usage: nerubato_shots OUTPUT_DIRECTORY [NAME...]   (no name: every shot)
#include "editor/TForm1.h"
#include "platform/Platform.h"
#include "shell/Messages.h"
#include "shell/WindowSet.h"

#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <QTextStream>

#include <functional>

using namespace nerubato;

namespace {

// Nothing beeps and nothing is launched while the pictures are taken.
class QuietPlatform : public Platform
{
public:
    void messageBeep() override {}
    void shellLaunch(QWidget *, const QString &, const QString &, const QString &, int) override {}
};

struct Shot
{
    QString name; // the file is NAME.png
    // Puts the window into the state to show and returns it.
    std::function<QWidget *(Forms &)> prepare;
};

QWidget *editorPage(Forms &forms, const char *page)
{
    auto *tabs = forms.Form1->findChild<QTabWidget *>(QStringLiteral("PageControl1"));
    tabs->setCurrentWidget(tabs->findChild<QWidget *>(QLatin1String(page)));
    return forms.Form1;
}

const QList<Shot> &shots()
{
    static const QList<Shot> list = {
        {QStringLiteral("editor-main"), [](Forms &f) { return editorPage(f, "TabSheet1"); }},
        {QStringLiteral("editor-options"), [](Forms &f) { return editorPage(f, "TabSheet3"); }},
        {QStringLiteral("editor-reserved"), [](Forms &f) { return editorPage(f, "TabSheet2"); }},
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
        QWidget *window = shot.prepare(windows.forms());
        window->show();
        QApplication::processEvents();
        const QString file = out.filePath(shot.name + QStringLiteral(".png"));
        if (window->grab().save(file)) {
            QTextStream(stdout) << file << '\n';
        } else {
            err << "cannot write " << file << '\n';
            ++failures;
        }
        window->hide();
    }
    return failures == 0 ? 0 : 1;
}
