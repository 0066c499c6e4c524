// The first opening of a window as a user feels it: the program starts, and
// once its main window is idle, the button that opens the window is pressed;
// the time from the press to the window shown, exposed and idle is printed
// (ms), and the program ends. Usage: firstopen_nerubato editor|slots|files
#include "FoundWindows.h"
#include "startup_probe.h"

#include "chooser/TsForm.h"
#include "editor/TForm1.h"
#include "shell/Application.h"
#include "shell/TForm3.h"
#include "shell/WindowSet.h"
#include "storage/TForm2.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>

#include <cstring>

int main(int argc, char *argv[])
{
    const char *which = argc > 1 ? argv[1] : "editor";
    nerubato::Application app(argc, argv);
    nerubato::WindowSet windows(app.platform());
    const Forms forms = Forms::found(app.platform());
    QWidget *target = std::strcmp(which, "slots") == 0   ? static_cast<QWidget *>(forms.Form2)
                      : std::strcmp(which, "files") == 0 ? static_cast<QWidget *>(forms.sForm)
                                                         : static_cast<QWidget *>(forms.Form1);
    QElapsedTimer pressed;
    forms.Form3->show();
    whenShownAndIdle(
        [&] {
            // The editor's own buttons open the choosers; it is open already.
            if (target != forms.Form1) {
                forms.Form3->findChild<QPushButton *>(QStringLiteral("settei_Btn"))->click();
                QApplication::processEvents();
            }
            const char *button = target == forms.Form2   ? "yomidasi"
                                 : target == forms.sForm ? "sansyo_Btn1"
                                                         : "settei_Btn";
            QWidget *owner = target == forms.Form1 ? static_cast<QWidget *>(forms.Form3)
                                                   : static_cast<QWidget *>(forms.Form1);
            auto *b = owner->findChild<QPushButton *>(QLatin1String(button));
            whenShownAndIdle(
                [&] {
                    std::printf("open %.3f\n", pressed.nsecsElapsed() / 1e6);
                    std::fflush(stdout);
                    QCoreApplication::quit();
                },
                target);
            pressed.start();
            QTest::mouseClick(b, Qt::LeftButton);
        },
        forms.Form3);
    const int status = app.exec();
    windows.end();
    return status;
}
