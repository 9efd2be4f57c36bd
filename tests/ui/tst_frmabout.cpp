#include "testprogram.h"

#include "app/form1.h"
#include "dialogs/form4.h"
#include "dialogs/frmabout.h"
#include "dialogs/frmabouttext.h"
#include "version.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace {

/** A started program with the version box opened from the properties dialog. */
struct Opened
{
    TestProgram t;
    Opened()
    {
        t.start();
        t.boxes.shown.clear();
        open();
    }
    void open()
    {
        t.program.form1().Command2_Click(3);
        t.program.form4().Command3().click();
    }
    frmAbout &box() { return t.program.about(); }
};

void clickLabel(QLabel &label)
{
    QTest::mouseClick(&label, Qt::LeftButton, {}, label.rect().center());
}

} // namespace

class TestFrmAbout : public QObject
{
    Q_OBJECT

private slots:
    void versionTextFromTheBuild();
    void textsSizeAndPlaces();
    void addressLooksLikeALink();
    void eitherLabelStartsTheSameMail();
    void failingMailEndsQuietly();
    void openedTwiceShowsTheSameTexts();
    void okAndCloseBoxUnloadAndFocusTheProperties();
    void okAfterThePropertiesWereClosed();
};

void TestFrmAbout::versionTextFromTheBuild()
{
    QCOMPARE(frmabouttext::versionText(0, 1, 22), QStringLiteral("ﾊﾞｰｼﾞｮﾝ 0.1.22"));
    QCOMPARE(frmabouttext::versionText(0, 1, 22).toUtf8(),
             QByteArray("\xef\xbe\x8a\xef\xbe\x9e\xef\xbd\xb0\xef\xbd\xbc\xef\xbe\x9e\xef\xbd\xae"
                        "\xef\xbe\x9d 0.1.22"));
    QCOMPARE(frmabouttext::versionText(10, 0, 7), QStringLiteral("ﾊﾞｰｼﾞｮﾝ 10.0.7"));
    // The project's version, as CMake configured it.
    QCOMPARE(snipdeck::build::versionMajor, 0);
    QCOMPARE(snipdeck::build::versionMinor, 1);
    QCOMPARE(snipdeck::build::versionPatch, 22);
}

void TestFrmAbout::textsSizeAndPlaces()
{
    Opened o;
    frmAbout &b = o.box();
    QCOMPARE(b.windowTitle(), QStringLiteral("Snipdeckのﾊﾞｰｼﾞｮﾝ情報"));
    QCOMPARE(b.lblTitle().text(), QStringLiteral("Snipdeck"));
    QCOMPARE(b.lblVersion().text(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ 0.1.22"));
    QCOMPARE(b.lblDisclaimer(0).text(),
             QStringLiteral("動作中の不具合、異常または、改修の依頼は以下へお願いします。"));
    QCOMPARE(b.lblDisclaimer(1).text(), QString::fromUtf8(snipdeck::build::maintainerAddress));
    QVERIFY(b.lblDisclaimer(1).text().contains(u'@'));
    QCOMPARE(b.cmdOK().text(), QStringLiteral("OK"));
    QVERIFY(!b.picIcon().pixmap().isNull());
    QVERIFY(!b.windowIcon().isNull());

    // 5820 x 2580 twips outside, a fixed dialog frame.
    QCOMPARE(b.minimumSize(), QSize(382, 146));
    QCOMPARE(b.maximumSize(), QSize(382, 146));
    QVERIFY(!b.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!b.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(b.picIcon().geometry(), QRect(16, 16, 32, 32));
    QCOMPARE(b.lblTitle().geometry(), QRect(70, 16, 259, 16));
    QCOMPARE(b.lblVersion().geometry(), QRect(72, 40, 259, 15));
    QCOMPARE(b.lblDisclaimer(0).geometry(), QRect(9, 87, 258, 28));
    // The address label starts where it is placed and is at least as wide, wider when the
    // configured address needs it.
    const QRect address = b.lblDisclaimer(1).geometry();
    QCOMPARE(address.topLeft(), QPoint(8, 120));
    QCOMPARE(address.height(), 12);
    QVERIFY(address.width() >= 108);
    QVERIFY(address.width() >= b.lblDisclaimer(1).sizeHint().width());
    QCOMPARE(b.font().pointSize(), 9);
    QCOMPARE(b.cmdOK().geometry(), QRect(296, 120, 79, 21));

    // The etched line: gray above, white one pixel under it, across the box.
    QCOMPARE(b.Line1(1).geometry(), QRect(-2, 75, 371, 1));
    QCOMPARE(b.Line1(0).geometry(), QRect(-1, 76, 370, 1));
    QCOMPARE(b.Line1(1).palette().color(QPalette::Window), QColor(128, 128, 128));
    QCOMPARE(b.Line1(0).palette().color(QPalette::Window), QColor(Qt::white));
    QCOMPARE(b.lblDisclaimer(0).palette().color(QPalette::WindowText), QColor(Qt::black));
}

void TestFrmAbout::addressLooksLikeALink()
{
    Opened o;
    const QLabel &address = o.box().lblDisclaimer(1);
    QCOMPARE(address.palette().color(QPalette::WindowText), QColor(Qt::blue));
    QVERIFY(address.font().underline());
    QCOMPARE(address.font().pointSize(), 9);
    QCOMPARE(address.font().families().value(0), QStringLiteral("ＭＳ Ｐゴシック"));
    QVERIFY(address.font().families().size() > 1); // a Japanese fallback follows
    QCOMPARE(address.cursor().shape(), Qt::PointingHandCursor);
    QVERIFY(!o.box().lblDisclaimer(0).font().underline());
}

void TestFrmAbout::eitherLabelStartsTheSameMail()
{
    Opened o;
    const QString address = QString::fromUtf8(snipdeck::build::maintainerAddress);
    clickLabel(o.box().lblDisclaimer(0));
    clickLabel(o.box().lblDisclaimer(1));
    QCOMPARE(o.t.launcher.mails, (QStringList{address, address}));
    // A right click is no click on the link.
    QTest::mouseClick(&o.box().lblDisclaimer(1), Qt::RightButton);
    QCOMPARE(o.t.launcher.mails.size(), 2);
    QVERIFY(o.box().isVisible());
}

void TestFrmAbout::failingMailEndsQuietly()
{
    Opened o;
    o.t.launcher.mailSucceeds = false;
    clickLabel(o.box().lblDisclaimer(1));
    QCOMPARE(o.t.launcher.mails.size(), 1);
    QVERIFY(o.t.boxes.shown.isEmpty());
    QVERIFY(o.box().isVisible());
}

void TestFrmAbout::openedTwiceShowsTheSameTexts()
{
    Opened o;
    QPointer<frmAbout> first = &o.box();
    const QStringList texts = {first->windowTitle(), first->lblTitle().text(),
                               first->lblVersion().text(), first->lblDisclaimer(1).text()};
    first->cmdOK().click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(first.isNull());

    o.open();
    frmAbout &second = o.box();
    QVERIFY(second.isVisible());
    QCOMPARE((QStringList{second.windowTitle(), second.lblTitle().text(),
                          second.lblVersion().text(), second.lblDisclaimer(1).text()}),
             texts);
}

void TestFrmAbout::okAndCloseBoxUnloadAndFocusTheProperties()
{
    Opened o;
    Form4 &properties = o.t.program.form4();
    for (const bool closeBox : {false, true}) {
        QPointer<frmAbout> box = &o.box();
        box->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), box.data());
        if (closeBox)
            QVERIFY(box->close());
        else
            box->cmdOK().click();
        QVERIFY(!box->isVisible());
        QTRY_COMPARE(QApplication::activeWindow(), &properties);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(box.isNull());
        QVERIFY(!o.t.program.form1().isEnabled()); // the properties dialog is still up
        properties.Command3().click();
    }
}

void TestFrmAbout::okAfterThePropertiesWereClosed()
{
    Opened o;
    QVERIFY(o.t.program.form4().close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QPointer<frmAbout> box = &o.box();
    QVERIFY(box->isVisible());
    box->cmdOK().click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(box.isNull());
    QVERIFY(o.t.program.form1().isEnabled());
    QVERIFY(!o.t.program.form4().isVisible());
}

QTEST_MAIN(TestFrmAbout)
#include "tst_frmabout.moc"
