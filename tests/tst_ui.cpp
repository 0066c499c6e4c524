// What every window uses: the standard message dialog, the general error box,
// the guarded handler, placement.
#include "settings/Errors.h"
#include "testui.h"
#include "ui/Handlers.h"
#include "ui/Look.h"
#include "ui/Messages.h"
#include "ui/Placement.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace nerubato;

namespace {

const QString kYes = QStringLiteral("はい(&Y)");
const QString kNo = QStringLiteral("いいえ(&N)");
const QString kCancel = QStringLiteral("ｷｬﾝｾﾙ");

} // namespace

class TestUi : public QObject
{
    Q_OBJECT

    test::FakePlatform m_platform;

private slots:
    void initTestCase() { installLook(); }
    void init() { m_platform.beeps = 0; }

    void messages_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QStringList>("order");
        QTest::addColumn<QString>("defaultButton");
        QTest::addColumn<QString>("escapeButton");
        QTest::newRow("error ok") << int(MessageType::Error) << int(Ok) << "ｴﾗｰ"
                                  << int(QMessageBox::Critical) << QStringList{"OK"} << "OK"
                                  << "OK";
        QTest::newRow("information ok")
            << int(MessageType::Information) << int(Ok) << "情報" << int(QMessageBox::Information)
            << QStringList{"OK"} << "OK"
            << "OK";
        QTest::newRow("information yes no")
            << int(MessageType::Information) << int(Yes | No) << "情報"
            << int(QMessageBox::Information) << QStringList{kYes, kNo} << kYes << kNo;
        QTest::newRow("error yes no")
            << int(MessageType::Error) << int(Yes | No) << "ｴﾗｰ" << int(QMessageBox::Critical)
            << QStringList{kYes, kNo} << kYes << kNo;
        QTest::newRow("confirmation yes no cancel")
            << int(MessageType::Confirmation) << int(Yes | No | Cancel) << "確認"
            << int(QMessageBox::Question) << QStringList{kYes, kNo, kCancel} << kYes << kCancel;
        QTest::newRow("warning ok cancel")
            << int(MessageType::Warning) << int(Ok | Cancel) << "警告" << int(QMessageBox::Warning)
            << QStringList{"OK", kCancel} << "OK" << kCancel;
    }

    void messages()
    {
        QFETCH(int, type);
        QFETCH(int, buttons);
        QFETCH(QString, caption);
        QFETCH(int, icon);
        QFETCH(QStringList, order);
        QFETCH(QString, defaultButton);
        QFETCH(QString, escapeButton);
        const QStringList lines = {"one", "two"};
        {
            test::MessageAnswerer answer("<esc>");
            const MessageButton pressed =
                showMessage(m_platform, MessageType(type), lines, buttons);
            QCOMPARE(answer.seen().caption, caption);
            QCOMPARE(int(answer.seen().icon), icon);
            QCOMPARE(answer.seen().text, QStringLiteral("one\r\ntwo"));
            QCOMPARE(answer.seen().buttons, order);
            QCOMPARE(answer.seen().defaultButton, defaultButton);
            const QHash<QString, MessageButton> byText = {
                {kYes, Yes}, {kNo, No}, {"OK", Ok}, {kCancel, Cancel}};
            QCOMPARE(pressed, byText.value(escapeButton));
        }
        QCOMPARE(m_platform.beeps, 1);
        test::MessageAnswerer closer("<close>");
        QCOMPARE(showMessage(m_platform, MessageType(type), lines, buttons), Cancel);
        test::MessageAnswerer presser(order.first());
        QCOMPARE(showMessage(m_platform, MessageType(type), lines, buttons),
                 MessageButton(order.first() == kYes ? Yes : Ok));
    }

    void generalErrorBox()
    {
        test::MessageAnswerer answer("OK");
        guarded(m_platform, [] { throw FileOpenError("x.dat"); });
        QCOMPARE(answer.seen().caption, QStringLiteral("ネルバト"));
        QCOMPARE(answer.seen().icon, QMessageBox::Critical);
        QCOMPARE(answer.seen().text, QStringLiteral("ﾌｧｲﾙ x.dat は開けません."));
        QCOMPARE(answer.seen().buttons, QStringList{"OK"});
    }

    // Texts are shown as they stand: markup in a field's text is no markup.
    void errorTextIsPlainText()
    {
        test::MessageAnswerer error("OK");
        guarded(m_platform, [] { throw ConvertError::notTime("<b>12</b>"); });
        QCOMPARE(error.seen().text, QStringLiteral("'<b>12</b>' は時刻ではありません."));
        QCOMPARE(error.seen().textFormat, Qt::PlainText);
    }

    // A guarded connection passes the signal's arguments on, and its errors
    // end in the general error box, not beyond.
    void guardedConnectionCatchesWhereTheHandlerStarts()
    {
        QPushButton button;
        QString seen;
        connectGuarded(m_platform, &button, &QPushButton::toggled, &button, [&](bool on) {
            seen = on ? QStringLiteral("on") : QStringLiteral("off");
            throw FileCreateError(QStringLiteral("x.dat"));
        });
        button.setCheckable(true);
        test::MessageAnswerer box("OK");
        button.setChecked(true);
        QCOMPARE(seen, QStringLiteral("on"));
        QCOMPARE(box.seen().text, QStringLiteral("ﾌｧｲﾙ x.dat を作成できません."));
    }

    // Qt's own texts are Japanese too: an edit field's context menu.
    void editMenuIsJapanese()
    {
        QLineEdit edit(QStringLiteral("x"));
        std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
        QStringList entries;
        for (QAction *action : menu->actions())
            entries << action->text().section(u'\t', 0, 0);
        QCOMPARE(entries, (QStringList{"元に戻す(&U)", "やり直す(&R)", "", "切り取り(&T)",
                                       "コピー(&C)", "貼り付け(&P)", "削除", "", "すべてを選択"}));
    }

    // Centred once, frame included, at the first showing; later showings keep
    // where the user moved it.
    void centredOnceAtFirstShow()
    {
        QWidget window;
        window.resize(200, 100);
        centreOnFirstShow(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QPoint centre = window.screen()->availableGeometry().center();
        QVERIFY((window.frameGeometry().center() - centre).manhattanLength() <= 1);
        window.hide();
        window.move(10, 10);
        window.show();
        QCOMPARE(window.pos(), QPoint(10, 10));
    }
};

NERUBATO_TEST_MAIN(TestUi)
#include "tst_ui.moc"
