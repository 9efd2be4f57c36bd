#include "testprogram.h"

#include "app/form1.h"
#include "app/form1text.h"
#include "files/form3.h"
#include "files/form3text.h"
#include "platform/sjiscodec.h"

#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

/** A program started with one accepted file `first.cdt` (two buttons) in the list. */
struct Started
{
    TestProgram t;
    QString first;

    Started()
    {
        first = t.writeShiftJis("first.cdt", "#one\r\n1\r\n#two\r\n2\r\n");
        t.writeStartIni({"14", "240", "2400", "0", "0", "0", "0", "0"}, {first});
        t.start();
        t.boxes.shown.clear();
    }
    Form1 &main() { return t.program.form1(); }
    Form3 &files() { return t.program.form3(); }
    /** Opens the dialog as the control button "再読込(&R)" does. */
    void open() { main().Command2_Click(2); }
    QString make(const QString &name, int buttons = 1)
    {
        QString text;
        for (int i = 0; i < buttons; ++i)
            text += QStringLiteral("#%1-%2\r\n").arg(name).arg(i);
        return t.writeShiftJis(name, text);
    }
};

/** The widget Tab moves to from `widget`. */
QWidget *nextTabStop(QWidget *widget)
{
    QWidget *next = widget->nextInFocusChain();
    while (next != widget && (!(next->focusPolicy() & Qt::TabFocus) || widget->isAncestorOf(next)))
        next = next->nextInFocusChain();
    return next;
}

} // namespace

class TestForm3 : public QObject
{
    Q_OBJECT

private slots:
    void windowTextsSizeAndPlaces();
    void addOneFileSelectsIt();
    void addThreeAtOnceKeepsTheirOrder();
    void addSkipsNamesThatDoNotExist();
    void addCancelledChangesNothing();
    void addLongMultipleSelection();
    void deleteAtEveryPosition_data();
    void deleteAtEveryPosition();
    void deleteWithoutSelectionDoesNothing();
    void deleteOnlyEntryThenOkComplains();
    void okLoadsSelectedFileAndAcceptsTheList();
    void okWithoutSelectionLoadsTheFirstEntry();
    void okOnAFileGoneFromDiskComplainsWhileTheDialogIsUp();
    void cancelRestoresTheAcceptedList();
    void cancelSelectsLastEntryWhenRememberedOneIsGone();
    void cancelShowsFileGoneFromDiskWithEmptyName();
    void enterEscAndDoubleClickInTheList();
    void closeBoxCancelsAndKeepsTheWindow();
    void focusGoesBackToTheButton_data();
    void focusGoesBackToTheButton();
    void hiddenOrUnknownFocusTargetIsSkipped();
    void settingsFileHoldsTheWorkingList();
};

void TestForm3::windowTextsSizeAndPlaces()
{
    Started s;
    Form3 &f = s.files();
    QCOMPARE(f.windowTitle(), QStringLiteral("読込ﾌｧｲﾙ選択"));
    QCOMPARE(f.Command1().text(), QStringLiteral("OK"));
    QCOMPARE(f.Command2().text(), QStringLiteral("ｷｬﾝｾﾙ"));
    QCOMPARE(f.Command3().text(), QStringLiteral("追加(&A)"));
    QCOMPARE(f.Command4().text(), QStringLiteral("削除(&D)"));
    QCOMPARE(form3text::nothingToRead.toUtf8(),
             QByteArray("\xe8\xaa\xad\xe8\xbe\xbc\xef\xbe\x8c\xef\xbd\xa7\xef\xbd\xb2\xef\xbe\x99"
                        "\xe3\x81\x8c\xe9\x81\xb8\xe6\x8a\x9e\xe3\x81\x95\xe3\x82\x8c\xe3\x81\xa6"
                        "\xe3\x81\x84\xe3\x81\xbe\xe3\x81\x9b\xe3\x82\x93"));

    // 2160 x 3570 twips outside; the client holds the controls exactly (2055 x 3255).
    QCOMPARE(f.minimumSize(), QSize(137, 217));
    QCOMPARE(f.maximumSize(), QSize(137, 217));
    QVERIFY(f.windowFlags().testFlag(Qt::Tool));
    QVERIFY(!f.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!f.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(f.List1().geometry(), QRect(0, 0, 137, 172));
    QCOMPARE(f.Command1().geometry(), QRect(0, 200, 65, 17));
    QCOMPARE(f.Command2().geometry(), QRect(72, 200, 65, 17));
    QCOMPARE(f.Command3().geometry(), QRect(0, 176, 65, 17));
    QCOMPARE(f.Command4().geometry(), QRect(72, 176, 65, 17));

    QCOMPARE(nextTabStop(&f.List1()), &f.Command1());
    QCOMPARE(nextTabStop(&f.Command1()), &f.Command2());
    QCOMPARE(nextTabStop(&f.Command2()), &f.Command3());
    QCOMPARE(nextTabStop(&f.Command3()), &f.Command4());
}

void TestForm3::addOneFileSelectsIt()
{
    Started s;
    const QString added = s.make("added.cdt");
    s.open();
    s.t.fileDialogs.openAnswers = {QStringList{added}};
    // Keys typed the moment the dialog closes belong to the list, not to this button again.
    QWidget *focusedWhileOpen = nullptr;
    s.t.fileDialogs.whileOpen = [&] { focusedWhileOpen = s.files().focusWidget(); };
    s.files().Command3().setFocus();
    s.files().Command3().click();
    QCOMPARE(focusedWhileOpen, &s.files().List1());
    QCOMPARE(s.t.fileDialogs.openCalls, 1);
    QCOMPARE(itemTexts(s.files().List1()), (QStringList{"first.cdt", "added.cdt"}));
    QCOMPARE(s.files().List2(), (QStringList{s.first, added}));
    QCOMPARE(s.files().List3(), QStringList{s.first});
    QCOMPARE(s.files().selectedIndex(), 1);
    QVERIFY(s.t.boxes.shown.isEmpty());
}

void TestForm3::addThreeAtOnceKeepsTheirOrder()
{
    Started s;
    const QString c = s.make("c.cdt"), a = s.make("a.cdt"), b = s.make("b.cdt");
    s.open();
    s.t.fileDialogs.openAnswers = {QStringList{c, a, b}};
    s.files().Command3().click();
    QCOMPARE(itemTexts(s.files().List1()), (QStringList{"first.cdt", "c.cdt", "a.cdt", "b.cdt"}));
    QCOMPARE(s.files().List2(), (QStringList{s.first, c, a, b}));
    QCOMPARE(s.files().selectedIndex(), 3);
    // The same file may be listed twice.
    s.t.fileDialogs.openAnswers = {QStringList{s.first}};
    s.files().Command3().click();
    QCOMPARE(s.files().List2(), (QStringList{s.first, c, a, b, s.first}));
}

void TestForm3::addSkipsNamesThatDoNotExist()
{
    Started s;
    const QString real = s.make("real.cdt");
    s.open();
    s.files().selectIndex(0);
    s.t.fileDialogs.openAnswers = {QStringList{s.t.path("typed.cdt")}};
    s.files().Command3().click();
    QCOMPARE(s.files().List2(), QStringList{s.first});
    QCOMPARE(s.files().selectedIndex(), 0);

    s.t.fileDialogs.openAnswers = {QStringList{s.t.path("typed.cdt"), real, s.t.path("no")}};
    s.files().Command3().click();
    QCOMPARE(itemTexts(s.files().List1()), (QStringList{"first.cdt", "real.cdt"}));
    QCOMPARE(s.files().selectedIndex(), 1);
    QVERIFY(s.t.boxes.shown.isEmpty());
}

void TestForm3::addCancelledChangesNothing()
{
    Started s;
    s.open();
    s.t.fileDialogs.openAnswers = {std::nullopt};
    s.files().Command3().click();
    QCOMPARE(s.t.fileDialogs.openCalls, 1);
    QCOMPARE(itemTexts(s.files().List1()), QStringList{"first.cdt"});
    QVERIFY(s.files().isVisible());
    QVERIFY(!s.main().isEnabled());
    QVERIFY(s.t.boxes.shown.isEmpty());
}

void TestForm3::addLongMultipleSelection()
{
    // Far more than the 260 characters an old file-name buffer would have held.
    Started s;
    QStringList chosen;
    for (int i = 0; i < 40; ++i)
        chosen.append(s.make(QStringLiteral("a-rather-long-clip-data-file-name-number-%1.cdt").arg(i)));
    s.open();
    s.t.fileDialogs.openAnswers = {chosen};
    s.files().Command3().click();
    QCOMPARE(s.files().List2(), QStringList{s.first} + chosen);
    QCOMPARE(s.files().List1().count(), 41);
}

void TestForm3::deleteAtEveryPosition_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<int>("selection");
    QTest::newRow("first") << 0 << QStringList{"b.cdt", "c.cdt"} << 0;
    QTest::newRow("middle") << 1 << QStringList{"first.cdt", "c.cdt"} << 1;
    QTest::newRow("last") << 2 << QStringList{"first.cdt", "b.cdt"} << 1;
}

void TestForm3::deleteAtEveryPosition()
{
    QFETCH(int, index);
    QFETCH(QStringList, left);
    QFETCH(int, selection);

    Started s;
    const QString b = s.make("b.cdt"), c = s.make("c.cdt");
    s.open();
    s.t.fileDialogs.openAnswers = {QStringList{b, c}};
    s.files().Command3().click();
    QCOMPARE(itemTexts(s.files().List1()), (QStringList{"first.cdt", "b.cdt", "c.cdt"}));

    s.files().selectIndex(index);
    s.files().Command4().click();
    QCOMPARE(itemTexts(s.files().List1()), left);
    QCOMPARE(s.files().List2().size(), 2);
    for (int i = 0; i < 2; ++i)
        QVERIFY(s.files().List2().at(i).endsWith(left.at(i)));
    QCOMPARE(s.files().selectedIndex(), selection);
    QVERIFY(QFile::exists(s.t.path(index == 0 ? "first.cdt" : index == 1 ? "b.cdt" : "c.cdt")));
}

void TestForm3::deleteWithoutSelectionDoesNothing()
{
    Started s;
    s.open();
    s.files().selectIndex(-1);
    s.files().Command4().click();
    QCOMPARE(s.files().List2(), QStringList{s.first});
}

void TestForm3::deleteOnlyEntryThenOkComplains()
{
    Started s;
    s.open();
    s.files().selectIndex(0);
    s.files().Command4().click();
    QCOMPARE(s.files().List1().count(), 0);
    QVERIFY(s.files().List2().isEmpty());
    QCOMPARE(s.files().selectedIndex(), -1);

    s.files().Command1().click();
    QCOMPARE(s.t.boxes.shown.size(), 1);
    QCOMPARE(s.t.boxes.shown.first().text, QStringLiteral("読込ﾌｧｲﾙが選択されていません"));
    QCOMPARE(s.t.boxes.shown.first().title, QStringLiteral("Snipdeck"));
    QCOMPARE(s.t.boxes.shown.first().icon, MessageBoxes::Icon::Exclamation);
    QVERIFY(s.files().isVisible());
    QVERIFY(!s.main().isEnabled());
    QCOMPARE(s.main().GetDataFileName(), s.first);
}

void TestForm3::okLoadsSelectedFileAndAcceptsTheList()
{
    Started s;
    QCOMPARE(s.main().windowTitle(), QStringLiteral("first"));
    const QString other = s.make("other.cdt", 5);
    s.open();
    QVERIFY(s.files().isVisible());
    QVERIFY(!s.main().isEnabled());
    QCOMPARE(s.files().selectedIndex(), 0);
    s.t.fileDialogs.openAnswers = {QStringList{other}};
    s.files().Command3().click();

    s.files().Command1().click();
    QVERIFY(!s.files().isVisible());
    QVERIFY(s.main().isEnabled());
    QCOMPARE(s.main().GetDataFileName(), other);
    QCOMPARE(s.main().GetDataFileNum(), 1);
    QCOMPARE(s.main().windowTitle(), QStringLiteral("other"));
    QCOMPARE(s.main().GetButtonNum(), 5);
    QCOMPARE(s.main().Command1(4).text(), QStringLiteral("other.cdt-4"));
    QCOMPARE(s.files().List3(), (QStringList{s.first, other}));

    // Accepted: a later Cancel keeps it.
    s.open();
    s.files().Command2().click();
    QCOMPARE(s.files().List2(), (QStringList{s.first, other}));
    QCOMPARE(s.files().selectedIndex(), 1);
}

void TestForm3::okWithoutSelectionLoadsTheFirstEntry()
{
    Started s;
    const QString other = s.make("other.cdt", 3);
    s.open();
    s.t.fileDialogs.openAnswers = {QStringList{other}};
    s.files().Command3().click();
    s.files().selectIndex(-1);
    s.files().Command1().click();
    QCOMPARE(s.main().GetDataFileName(), s.first);
    QCOMPARE(s.main().GetDataFileNum(), 0);
    QCOMPARE(s.files().selectedIndex(), 0);
    QCOMPARE(s.main().GetButtonNum(), 2);
}

void TestForm3::okOnAFileGoneFromDiskComplainsWhileTheDialogIsUp()
{
    Started s;
    const QString gone = s.make("gone.cdt");
    s.open();
    s.t.fileDialogs.openAnswers = {QStringList{gone}};
    s.files().Command3().click();
    QVERIFY(QFile::remove(gone));
    bool dialogUp = false;
    s.t.boxes.onShow = [&](const FakeMessageBoxes::Box &) { dialogUp = s.files().isVisible(); };
    s.files().Command1().click();
    QCOMPARE(s.t.messages(), QStringList{form1text::clipFileMissing + "\r\nﾌｧｲﾙ:" + gone});
    QVERIFY(dialogUp);
    QVERIFY(!s.files().isVisible());
    QVERIFY(s.main().isEnabled());
    QCOMPARE(s.main().GetDataFileNum(), 1);
    QCOMPARE(s.files().List3(), (QStringList{s.first, gone}));
}

void TestForm3::cancelRestoresTheAcceptedList()
{
    Started s;
    const QString other = s.make("other.cdt", 3);
    s.open();
    s.t.fileDialogs.openAnswers = {QStringList{other}};
    s.files().Command3().click();
    s.files().selectIndex(0);
    s.files().Command4().click();
    QCOMPARE(s.files().List2(), QStringList{other});

    s.files().Command2().click();
    QVERIFY(!s.files().isVisible());
    QVERIFY(s.main().isEnabled());
    QCOMPARE(itemTexts(s.files().List1()), QStringList{"first.cdt"});
    QCOMPARE(s.files().List2(), QStringList{s.first});
    QCOMPARE(s.files().List3(), QStringList{s.first});
    QCOMPARE(s.main().GetDataFileName(), s.first);
    QCOMPARE(s.main().GetDataFileNum(), 0);
    QCOMPARE(s.main().GetButtonNum(), 2);
    QCOMPARE(s.main().windowTitle(), QStringLiteral("first"));
}

void TestForm3::cancelSelectsLastEntryWhenRememberedOneIsGone()
{
    Started s;
    const QString a = s.make("a.cdt"), b = s.make("b.cdt");
    s.open();
    s.t.fileDialogs.openAnswers = {QStringList{a, b}};
    s.files().Command3().click();
    QCOMPARE(s.files().selectedIndex(), 2);
    s.files().Command2().click();
    QCOMPARE(s.files().List1().count(), 1);
    QCOMPARE(s.files().selectedIndex(), 0);

    // An empty accepted list selects nothing.
    s.files().List3().clear();
    s.open();
    s.files().Command2().click();
    QCOMPARE(s.files().List1().count(), 0);
    QCOMPARE(s.files().selectedIndex(), -1);
}

void TestForm3::cancelShowsFileGoneFromDiskWithEmptyName()
{
    Started s;
    const QString gone = s.make("gone.cdt");
    s.open();
    s.t.fileDialogs.openAnswers = {QStringList{gone}};
    s.files().Command3().click();
    s.files().selectIndex(0);
    s.files().Command1().click();
    QVERIFY(QFile::remove(gone));

    s.open();
    s.files().Command2().click();
    QCOMPARE(itemTexts(s.files().List1()), (QStringList{"first.cdt", QString()}));
    QCOMPARE(s.files().List2(), (QStringList{s.first, gone}));
}

void TestForm3::enterEscAndDoubleClickInTheList()
{
    Started s;
    const QString other = s.make("other.cdt", 4);
    s.open();
    s.t.fileDialogs.openAnswers = {QStringList{other}, QStringList{other}};
    s.files().Command3().click();
    QTest::keyClick(&s.files().List1(), Qt::Key_Return);
    QVERIFY(!s.files().isVisible());
    QCOMPARE(s.main().GetDataFileName(), other);

    s.open();
    s.files().Command3().click();
    QTest::keyClick(&s.files().List1(), Qt::Key_Escape);
    QVERIFY(!s.files().isVisible());
    QVERIFY(s.main().isEnabled());
    QCOMPARE(s.files().List2(), (QStringList{s.first, other}));

    s.open();
    QListWidget &list = s.files().List1();
    list.doItemsLayout();
    const QPoint onFirst = list.visualItemRect(list.item(0)).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, onFirst);
    QVERIFY(s.files().isVisible());
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, onFirst);
    QVERIFY(!s.files().isVisible());
    QCOMPARE(s.main().GetDataFileName(), s.first);
    QCOMPARE(s.main().GetDataFileNum(), 0);

    s.open();
    QTest::keyClick(&s.files().List1(), Qt::Key_Enter);
    QVERIFY(!s.files().isVisible());
}

void TestForm3::closeBoxCancelsAndKeepsTheWindow()
{
    Started s;
    Form3 *before = &s.files();
    const QString other = s.make("other.cdt");
    s.open();
    s.t.fileDialogs.openAnswers = {QStringList{other}};
    s.files().Command3().click();
    QVERIFY(!s.files().close());
    QVERIFY(!s.files().isVisible());
    QVERIFY(s.main().isEnabled());
    QCOMPARE(s.files().List2(), QStringList{s.first});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(&s.files(), before);
}

void TestForm3::focusGoesBackToTheButton_data()
{
    QTest::addColumn<int>("flag");
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("snippet"); // expected focus: Command1(snippet) or Command2(control)
    QTest::addColumn<int>("control");
    QTest::newRow("OK from a snippet button: the first one") << 0 << 1 << true << 0 << -1;
    QTest::newRow("OK from a control button: that one") << 1 << 2 << true << -1 << 2;
    QTest::newRow("Cancel from a snippet button: that one") << 0 << 1 << false << 1 << -1;
    QTest::newRow("Cancel from a control button: that one") << 1 << 2 << false << -1 << 2;
}

void TestForm3::focusGoesBackToTheButton()
{
    QFETCH(int, flag);
    QFETCH(int, index);
    QFETCH(bool, ok);
    QFETCH(int, snippet);
    QFETCH(int, control);

    Started s;
    s.main().Command2(4).setFocus();
    s.files().SetFlag(flag, index);
    s.main().ReRead();
    if (ok)
        s.files().Command1().click();
    else
        s.files().Command2().click();
    QWidget *expected = snippet >= 0 ? static_cast<QWidget *>(&s.main().Command1(snippet))
                                     : &s.main().Command2(control);
    QCOMPARE(s.main().focusWidget(), expected);
}

void TestForm3::hiddenOrUnknownFocusTargetIsSkipped()
{
    Started s;
    QPushButton &start = s.main().Command2(4);
    start.setFocus();
    QVERIFY(s.main().Command1(20).isHidden()); // the file has two buttons
    s.files().SetFlag(0, 20);
    s.main().ReRead();
    s.files().Command2().click();
    QVERIFY(s.main().isEnabled());
    QVERIFY(s.main().focusWidget() != &s.main().Command1(20));

    s.main().Command1(1).setEnabled(false);
    s.files().SetFlag(0, 1);
    s.main().ReRead();
    s.files().Command2().click();
    QVERIFY(s.main().focusWidget() != &s.main().Command1(1));

    // Indexes outside the button arrays and unknown flags leave the focus alone.
    for (const auto &[flag, index] : {std::pair{1, 7}, std::pair{0, -1}, std::pair{0, 31},
                                      std::pair{2, 0}}) {
        start.setFocus();
        s.files().SetFlag(flag, index);
        s.files().Command2().click();
        QVERIFY(s.main().isEnabled());
        QCOMPARE(s.main().focusWidget(), &start);
    }
}

void TestForm3::settingsFileHoldsTheWorkingList()
{
    Started s;
    const QString a = s.make("a.cdt"), b = s.make("b.cdt");
    s.open();
    s.t.fileDialogs.openAnswers = {QStringList{a, b}};
    s.files().Command3().click();
    s.files().selectIndex(1);
    s.files().Command1().click();
    s.main().close();
    QCOMPARE(s.t.endProcessCalls, 1);

    const QStringList lines = sjis::decode(s.t.readBytes("Start.ini")).split("\r\n");
    QCOMPARE(lines.size(), 8 + 3 + 1);
    QCOMPARE(lines.at(7), QStringLiteral(" 1 "));
    QCOMPARE(lines.mid(8, 3), (QStringList{s.first, a, b}));
    QCOMPARE(lines.last(), QString());
}

QTEST_MAIN(TestForm3)
#include "tst_form3.moc"
