#include "settings/ScheduleSettings.h"
#include "settings/SettingsFile.h"
#include "testsupport.h"

#include <QTest>

using namespace nerubato;

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void defaultRecordWritesTheDefaultFile()
    {
        const QByteArray bytes = joinLines(settingsToLines(ScheduleSettings{}));
        QCOMPARE(bytes.size(), 250);
        QCOMPARE(bytes, test::defaultSettingsFile());
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
