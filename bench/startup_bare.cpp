// The yardstick: a bare Qt Widgets program that shows one window with
// Japanese text, the size of the main window, with its five buttons.
#include "startup_probe.h"

#include <QPushButton>

int main(int argc, char *argv[])
{
    startProbe();
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("ネルバト　設定登録画面"));
    window.resize(309, 148);
    const char16_t *texts[] = {u"設定ファイルの作成及び登録", u"登録した設定のテスト実行",
                               u"登録した設定の確認と解除", u"ヘルプ", u"終了"};
    int top = 12;
    for (const char16_t *text : texts) {
        auto *button = new QPushButton(QString::fromUtf16(text), &window);
        button->setGeometry(30, top, 249, 25);
        top += 24;
    }
    window.show();
    quitWhenShownAndIdle();
    return app.exec();
}
