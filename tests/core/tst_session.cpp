#include "app/form1text.h"
#include "app/keycodes.h"
#include "app/session.h"
#include "platform/filesystem.h"
#include "platform/sjiscodec.h"

#include <QTemporaryDir>
#include <QTest>

class TestSession : public QObject
{
    Q_OBJECT

private slots:
    void propertiesOk_data();
    void propertiesOk();
    void keyTable_data();
    void keyTable();
    void menuState();
    void caption_data();
    void caption();
    void readFileList();
    void writer();
};

void TestSession::propertiesOk_data()
{
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QList<int>>("applied"); // width, count, height as laid out
    QTest::addColumn<QStringList>("shown");

    QTest::newRow("plain values") << QStringList{"1800", "7", "300"} << QList<int>{1800, 7, 300}
                                  << QStringList{"1800", "7", "300"};
    QTest::newRow("empty fields keep the values in use")
            << QStringList{"", "", ""} << QList<int>{2400, 14, 240}
            << QStringList{"2400", "14", "240"};
    QTest::newRow("45 buttons are 30") << QStringList{"2400", "45", "240"}
                                       << QList<int>{2400, 30, 240}
                                       << QStringList{"2400", "30", "240"};
    QTest::newRow("0 buttons are 1") << QStringList{"2400", "0", "240"} << QList<int>{2400, 1, 240}
                                     << QStringList{"2400", "1", "240"};
    QTest::newRow("negative count is 1") << QStringList{"2400", "-3", "240"}
                                         << QList<int>{2400, 1, 240}
                                         << QStringList{"2400", "1", "240"};
    QTest::newRow("fractions round to nearest") << QStringList{"1800.6", "6.5", "249.5"}
                                                << QList<int>{1801, 6, 250}
                                                << QStringList{"1800.6", "6.5", "249.5"};
    QTest::newRow("width and height are not clamped") << QStringList{"150", "5", "600"}
                                                      << QList<int>{150, 5, 600}
                                                      << QStringList{"150", "5", "600"};
    QTest::newRow("text that is no number keeps the value in use")
            << QStringList{"wide", "many", "0x20"} << QList<int>{2400, 14, 240}
            << QStringList{"2400", "14", "240"};
    QTest::newRow("beyond 16 bits keeps the value in use")
            << QStringList{"40000", "5", "-99999"} << QList<int>{2400, 5, 240}
            << QStringList{"2400", "5", "240"};
    QTest::newRow("a bar too high for 16-bit twips gets lower buttons")
            << QStringList{"2400", "30", "2000"} << QList<int>{2400, 30, 921}
            << QStringList{"2400", "30", "921"};
    QTest::newRow("a bar too wide for 16-bit twips gets the widest window")
            << QStringList{"32700", "5", "300"} << QList<int>{32657, 5, 300}
            << QStringList{"32657", "5", "300"};
    QTest::newRow("negative width keeps the width")
            << QStringList{"-100", "5", "300"} << QList<int>{2400, 5, 300}
            << QStringList{"2400", "5", "300"};
}

void TestSession::propertiesOk()
{
    QFETCH(QStringList, typed);
    QFETCH(QList<int>, applied);
    QFETCH(QStringList, shown);

    Session session;
    const AppliedProperties result =
            session.applyProperties({typed.at(0), typed.at(1), typed.at(2), true, false});
    session.layOut(result.width, result.count, result.height);
    const Settings &in = session.settings;
    QCOMPARE((QList<int>{in.buttonWidth, in.buttonNum, in.buttonHeight}), applied);
    QCOMPARE((QStringList{result.shown.width, result.shown.count, result.shown.height}), shown);
    QVERIFY(in.onTop() && result.shown.onTop);
    QVERIFY(!in.controlsHidden());
    QCOMPARE(session.propertyFields(), (PropertyFields{QString::number(applied.at(0)),
                                                       QString::number(applied.at(1)),
                                                       QString::number(applied.at(2)), true,
                                                       false}));
}

void TestSession::keyTable_data()
{
    using Kind = KeyCommand::Kind;
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("mode");
    QTest::addColumn<KeyCommand>("command");
    QTest::newRow("1 loads the first file") << keycodes::digit0 + 1 << 2 << KeyCommand{Kind::LoadListed, 1};
    QTest::newRow("9 the ninth") << keycodes::digit9 << 1 << KeyCommand{Kind::LoadListed, 9};
    QTest::newRow("0 the tenth") << keycodes::digit0 << 1 << KeyCommand{Kind::LoadListed, 10};
    QTest::newRow("F1 renames") << keycodes::f1 << 1 << KeyCommand{Kind::Rename};
    QTest::newRow("F1 on a control button") << keycodes::f1 << 2 << KeyCommand{};
    QTest::newRow("F2 edits") << keycodes::f1 + 1 << 1 << KeyCommand{Kind::Edit};
    QTest::newRow("F2 on a control button") << keycodes::f1 + 1 << 2 << KeyCommand{};
    QTest::newRow("F3 shows the text") << keycodes::f1 + 2 << 1 << KeyCommand{Kind::Display};
    QTest::newRow("F3 on a control button") << keycodes::f1 + 2 << 2 << KeyCommand{};
    QTest::newRow("F4 shows the clipboard") << keycodes::f1 + 3 << 2 << KeyCommand{Kind::Kakunin};
    QTest::newRow("F5 reloads") << keycodes::f1 + 4 << 2 << KeyCommand{Kind::Reload};
    QTest::newRow("F6 the read files") << keycodes::f1 + 5 << 1 << KeyCommand{Kind::ReadFiles};
    QTest::newRow("F7 opens the file") << keycodes::f1 + 6 << 1 << KeyCommand{Kind::OpenFile};
    QTest::newRow("F8 the properties") << keycodes::f8 << 2 << KeyCommand{Kind::Properties};
    QTest::newRow("F9 nothing") << keycodes::f8 + 1 << 1 << KeyCommand{};
    QTest::newRow("Enter nothing") << keycodes::enter << 1 << KeyCommand{};
}

void TestSession::keyTable()
{
    QFETCH(int, key);
    QFETCH(int, mode);
    QFETCH(KeyCommand, command);
    QCOMPARE(keyCommand(key, mode), command);
}

void TestSession::menuState()
{
    Session session;
    QCOMPARE(session.menuState(true), (MenuState{true, false, false, false}));
    session.dataFileName = QStringLiteral("/x.cdt");
    session.settings.winZ = 1;
    QCOMPARE(session.menuState(false), (MenuState{false, true, true, false}));
    session.settings.controlShowFlag = 1;
    QCOMPARE(session.menuState(true), (MenuState{true, true, true, true}));
}

void TestSession::caption_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::newRow("extension") << "定型文.cdt" << "定型文";
    QTest::newRow("any last four") << "notes.text" << "notes.";
    QTest::newRow("exactly four") << "a.cd" << "";
    QTest::newRow("shorter") << "abc" << "";
}

void TestSession::caption()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QCOMPARE(captionFor(name), caption);
}

void TestSession::readFileList()
{
    QTemporaryDir dir;
    const QString a = dir.filePath("a.cdt");
    QVERIFY(filesystem::writeWholeFile(a, "#a\r\n"));
    Session session;
    session.addFile("a.cdt", a, true);
    session.addFile("b.cdt", dir.filePath("b.cdt"));
    session.selectFile(5);
    QCOMPARE(session.selectedFile(), -1);
    QCOMPARE(session.writeTarget(), QString());
    session.selectFile(1);
    QCOMPARE(session.writeTarget(), dir.filePath("b.cdt"));
    session.removeSelectedFile(); // the entry before takes its place
    QCOMPARE(session.names(), QStringList{"a.cdt"});
    QCOMPARE(session.selectedFile(), 0);

    session.addFile("c.cdt", dir.filePath("c.cdt"));
    session.selectFile(1);
    session.restoreFiles(); // back to what was accepted, selecting the last entry
    QCOMPARE(session.paths(), QStringList{a});
    QCOMPARE(session.selectedFile(), 0);

    // A Windows path naming a file beside Start.ini becomes that file in all three lists.
    session.addFile("A.CDT", "C:\\clips\\A.CDT");
    session.acceptFiles();
    QCOMPARE(session.listedPath(1, dir.path()), a);
    QCOMPARE(session.names(), (QStringList{"a.cdt", "a.cdt"}));
    QCOMPARE(session.acceptedPaths(), (QStringList{a, a}));

    session.addCurrentFile("new.cdt", dir.filePath("new.cdt"));
    QCOMPARE(session.selectedFile(), 2);
    QCOMPARE(session.dataFileNum, 2);
    QCOMPARE(session.dataFileName, dir.filePath("new.cdt"));
    QCOMPARE(session.acceptedPaths().size(), 3);
}

void TestSession::writer()
{
    QTemporaryDir dir;
    const QString target = dir.filePath("w.cdt");
    Session session;
    QCOMPARE(session.entries().size(), 14);
    QCOMPARE(session.caption(30), form1text::unset);
    session.setEntries({{"ｱ", "x\r\ny"}, {"b", ""}});
    session.settings.buttonNum = 2;

    // Nothing there, or nothing but an empty file: nothing to lose.
    QVERIFY(!session.unseenContent(target));
    QVERIFY(filesystem::writeWholeFile(target, {}));
    QVERIFY(!session.unseenContent(target));
    QVERIFY(filesystem::writeWholeFile(target, "#other\r\n"));
    QCOMPARE(session.unseenContent(target), std::optional<QByteArray>("#other\r\n"));

    QVERIFY(session.write(target).ok());
    const QByteArray written = *sjis::encode(QStringLiteral("#ｱ\r\nx\r\ny\r\n#b\r\n\r\n"));
    QCOMPARE(filesystem::readWholeFile(target), std::optional<QByteArray>(written));
    QCOMPARE(session.known().bytes, std::optional<QByteArray>(written));
    QVERIFY(!session.unseenContent(target)); // its own save

    // A file read as UTF-8 is written back as UTF-8; any other file in Shift-JIS.
    session.setReadFrom(target, clipfile::Encoding::Utf8);
    QCOMPARE(session.encodingFor(target), clipfile::Encoding::Utf8);
    QCOMPARE(session.encodingFor(dir.filePath("v.cdt")), clipfile::Encoding::ShiftJis);
    QVERIFY(session.write(target).ok());
    QByteArray utf8;
    clipfile::encode(session.entries(), &utf8, clipfile::Encoding::Utf8);
    QCOMPARE(*filesystem::readWholeFile(target), utf8);
    QVERIFY(utf8.contains("\xef\xbd\xb1")); // ｱ in UTF-8

    session.setCaption(1, QStringLiteral("café"));
    session.setReadFrom(QString(), clipfile::Encoding::ShiftJis);
    const clipfile::WriteResult refused = session.write(target);
    QCOMPARE(refused.status, clipfile::WriteResult::Status::Unencodable);
    QCOMPARE(refused.entryIndex, 1);
}

QTEST_GUILESS_MAIN(TestSession)
#include "tst_session.moc"
