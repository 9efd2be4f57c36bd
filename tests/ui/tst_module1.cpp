#include "testprogram.h"

#include "app/form1.h"
#include "files/module1.h"

#include <QTest>

using Status = Association::Status;

class TestModule1 : public QObject
{
    Q_OBJECT

private slots:
    void quotedPath_data();
    void quotedPath();
    void lookupFailures_data();
    void lookupFailures();
    void lookupSuccessGivesTheProgram();
    void launchRunsTheProgramOnThePathAsOneArgument();
    void failedStartIsShown();
    void initEditWithoutAFileDoesNothing();
};

void TestModule1::quotedPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("quoted");
    QTest::newRow("plain") << "/a/b.cdt" << "\"/a/b.cdt\"";
    QTest::newRow("already quoted") << "\"/a b.cdt\"" << "\"/a b.cdt\"";
    QTest::newRow("opening quote only") << "\"/a.cdt" << "\"/a.cdt\"";
    QTest::newRow("closing quote only") << "/a.cdt\"" << "\"/a.cdt\"";
    QTest::newRow("empty") << "" << "\"\"";
    QTest::newRow("a lone quote") << "\"" << "\"\"";
}

void TestModule1::quotedPath()
{
    QFETCH(QString, path);
    QTEST(Module1::quotedPath(path), "quoted");
}

void TestModule1::lookupFailures_data()
{
    QTest::addColumn<Status>("status");
    QTest::addColumn<QString>("message");
    QTest::newRow("file missing") << Status::FileMissing << "ファイルが見つかりません。";
    QTest::newRow("path missing") << Status::PathMissing << "パスが見つかりません。";
    QTest::newRow("no association") << Status::NoAssociation << "関連付けが指定されていません。";
    QTest::newRow("not executable") << Status::NotExecutable << "不正な形式の実行ファイルです。";
    QTest::newRow("out of memory") << Status::OutOfMemory << "メモリまたはリソースが足りません。";
    QTest::newRow("anything else") << Status::Failed << "関連付けを取得できません。";
    QTest::newRow("found without a program") << Status::Found << "関連付けを取得できません。";
}

void TestModule1::lookupFailures()
{
    QFETCH(Status, status);
    QFETCH(QString, message);
    TestProgram t;
    t.launcher.association.status = status;
    QString program = QStringLiteral("untouched");
    QCOMPARE(Module1::FindAssocProgram(t.program, t.path("a.cdt"), program), 0);
    QCOMPARE(program, QStringLiteral("untouched"));
    QCOMPARE(t.boxes.shown.size(), 1);
    QCOMPARE(t.boxes.shown.at(0).text, message);
    QCOMPARE(t.boxes.shown.at(0).title, QStringLiteral("Snipdeck"));
    QCOMPARE(t.boxes.shown.at(0).icon, MessageBoxes::Icon::None);
    QCOMPARE(t.boxes.shown.at(0).buttons, MessageBoxes::Buttons::Ok);

    // The launch then starts nothing.
    Module1::OpenInAssociatedProgram(t.program, t.path("a.cdt"));
    QVERIFY(t.launcher.started.isEmpty());
    QCOMPARE(t.boxes.shown.size(), 2);
}

void TestModule1::lookupSuccessGivesTheProgram()
{
    TestProgram t;
    t.launcher.association = {Status::Found, QStringLiteral("/usr/bin/editor"), {"-n"}};
    QString program;
    QStringList arguments;
    QCOMPARE(Module1::FindAssocProgram(t.program, QStringLiteral("/x y/a.cdt"), program, &arguments),
             15);
    QCOMPARE(program, QStringLiteral("/usr/bin/editor"));
    QCOMPARE(arguments, QStringList{"-n"});
    QCOMPARE(t.launcher.lookedUp, QStringList{"\"/x y/a.cdt\""});
    QVERIFY(t.boxes.shown.isEmpty());
}

void TestModule1::launchRunsTheProgramOnThePathAsOneArgument()
{
    TestProgram t;
    t.start();
    t.boxes.shown.clear();
    t.launcher.association = {Status::Found, QStringLiteral("/usr/bin/editor"), {"--flag"}};
    // Blanks, a ";", a "$" and a path far past 260 characters reach the program unchanged.
    const QString path = QStringLiteral("/tmp/a b;c $(x)/") + QString(300, u'n') + ".cdt";
    t.program.form1().SetDataFileName(path);
    t.program.form1().InitEdit();
    QCOMPARE(t.launcher.started.size(), 1);
    QCOMPARE(t.launcher.started.at(0).first, QStringLiteral("/usr/bin/editor"));
    QCOMPARE(t.launcher.started.at(0).second, (QStringList{"--flag", path}));
    QVERIFY(t.boxes.shown.isEmpty());
}

void TestModule1::failedStartIsShown()
{
    TestProgram t;
    t.launcher.association = {Status::Found, QStringLiteral("/opt/gone/editor"), {}};
    t.launcher.startSucceeds = false;
    Module1::OpenInAssociatedProgram(t.program, t.path("a.cdt"));
    QCOMPARE(t.messages(), QStringList{QStringLiteral("ﾌﾟﾛｸﾞﾗﾑを起動できません\r\n/opt/gone/editor")});
    QCOMPARE(t.boxes.shown.at(0).icon, MessageBoxes::Icon::Exclamation);
    QCOMPARE(t.boxes.shown.at(0).title, QStringLiteral("Snipdeck"));
}

void TestModule1::initEditWithoutAFileDoesNothing()
{
    TestProgram t;
    t.start();
    t.boxes.shown.clear();
    t.launcher.association = {Status::Found, QStringLiteral("/usr/bin/editor"), {}};
    t.program.form1().InitEdit();
    QVERIFY(t.launcher.lookedUp.isEmpty());
    QVERIFY(t.launcher.started.isEmpty());
    QVERIFY(t.boxes.shown.isEmpty());
}

QTEST_MAIN(TestModule1)
#include "tst_module1.moc"
