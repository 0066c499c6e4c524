// A 1 MiB line in the editor: the load into the fields (decoding and laying the
// text out), the first paint with it, a key typed into the field, and the save
// back to lines. Each is a stretch of the UI thread a user waits through.
//
//   QT_QPA_PLATFORM=offscreen bench_fields [MiB] [runs]

#include "FoundWindows.h"
#include "editor/ByteEdit.h"
#include "editor/TForm1.h"
#include "platform/Platform.h"
#include "settings/SettingsFile.h"
#include "shell/WindowSet.h"
#include "ui/Look.h"
#include "ui/Messages.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace nerubato;

namespace {

// The real platform, less the beep: nothing sounds while it is measured.
class SilentPlatform : public Platform
{
public:
    void messageBeep() override {}
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    installLook();
    const int mib = argc > 1 ? std::max(1, atoi(argv[1])) : 1;
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 5;

    QByteArray line;
    const QByteArray unit("run.exe /x \x95\x5C\x8C\x76 ");
    while (line.size() < mib * 1024 * 1024)
        line += unit;
    line.truncate(mib * 1024 * 1024);
    ScheduleSettings s;
    s.sw_Args[0] = line;
    const Lines file = settingsToLines(s);

    SilentPlatform platform;
    WindowSet windows(platform);
    TForm1 &editor = *Forms::found(platform).Form1;
    editor.show();
    (void)QTest::qWaitForWindowExposed(&editor);
    auto *args = editor.findChild<ByteEdit *>(QStringLiteral("sw1_Edit"));

    std::vector<double> load, paint, key, save;
    for (int run = 0; run < runs; ++run) {
        editor.loadLines(splitLines(joinLines(settingsToLines(ScheduleSettings()))));
        QApplication::processEvents();

        QElapsedTimer t;
        t.start();
        editor.loadLines(file);
        load.push_back(t.nsecsElapsed() / 1e6);

        t.restart();
        editor.repaint();
        paint.push_back(t.nsecsElapsed() / 1e6);

        args->setFocus();
        args->home(false);
        t.restart();
        QTest::keyClick(args, Qt::Key_A);
        key.push_back(t.nsecsElapsed() / 1e6);

        t.restart();
        // What SettingsToLines appends: the record read from the controls.
        const Lines saved = settingsToLines(editor.settings());
        save.push_back(t.nsecsElapsed() / 1e6);
        if (saved[20] != "a" + line) {
            std::fprintf(stderr, "the saved line is not the loaded one with the key typed\n");
            return 1;
        }
    }
    std::printf("a %d MiB line, median of %d runs:\n", mib, runs);
    std::printf("  load into the fields: %8.1f ms\n", median(load));
    std::printf("  first paint:          %8.1f ms\n", median(paint));
    std::printf("  one key typed:        %8.1f ms\n", median(key));
    std::printf("  save back to lines:   %8.1f ms\n", median(save));
    return 0;
}
