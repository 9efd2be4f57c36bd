#include "testprogram.h"

#include "app/form1.h"
#include "app/form1text.h"

#include <QPushButton>
#include <QTest>

class TestForm1 : public QObject
{
    Q_OBJECT

private slots:
    void freshStartShowsSettingsMessageAndFourteenUnsetButtons();
};

void TestForm1::freshStartShowsSettingsMessageAndFourteenUnsetButtons()
{
    TestProgram t;
    t.start();
    QCOMPARE(t.messages(), QStringList{form1text::settingsMissing + "\r\nﾌｧｲﾙ:" + t.path("Start.ini")});
    Form1 &main = t.program.form1();
    QCOMPARE(main.GetButtonNum(), 14);
    for (int i = 0; i < 14; ++i) {
        QVERIFY(main.Command1(i).isVisible());
        QCOMPARE(main.Command1(i).text(), form1text::unset);
    }
    QVERIFY(!main.Command1(14).isVisible());
    QCOMPARE(main.windowTitle(), QStringLiteral("Snipdeck"));
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
