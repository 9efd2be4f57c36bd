#include "platform/sessionplatform.h"

#include <QTest>

#include <utility>
#include <vector>

using sessionplatform::Environment;

class Test_sessionplatform : public QObject
{
    Q_OBJECT
private slots:
    void decide_data();
    void decide();
    void platformArgument_data();
    void platformArgument();
};

namespace {

/** No value: the argument is absent. */
const QByteArray absent = QByteArrayLiteral("<absent>");

std::optional<QByteArray> optionalOf(const QByteArray &value)
{
    if (value == absent)
        return std::nullopt;
    return value;
}

} // namespace

void Test_sessionplatform::decide_data()
{
    QTest::addColumn<QByteArray>("qpa");
    QTest::addColumn<QByteArray>("sessionType");
    QTest::addColumn<QByteArray>("waylandDisplay");
    QTest::addColumn<QByteArray>("display");
    QTest::addColumn<QByteArray>("argument");
    QTest::addColumn<QByteArray>("forced"); // absent = Qt chooses
    QTest::addColumn<bool>("displayFound");

    // The two choices on a Wayland session.
    QTest::newRow("wayland with xwayland runs on xcb")
        << QByteArray() << QByteArray("wayland") << QByteArray("wayland-0") << QByteArray(":0")
        << absent << QByteArray("xcb") << true;
    QTest::newRow("wayland display alone marks the session")
        << QByteArray() << QByteArray() << QByteArray("wayland-0") << QByteArray(":0")
        << absent << QByteArray("xcb") << true;
    QTest::newRow("session type alone marks the session")
        << QByteArray() << QByteArray("wayland") << QByteArray() << QByteArray(":1")
        << absent << QByteArray("xcb") << true;
    QTest::newRow("wayland without xwayland runs natively and is not refused")
        << QByteArray() << QByteArray("wayland") << QByteArray("wayland-0") << QByteArray()
        << absent << absent << true;

    // The user's choice wins, whatever it is.
    QTest::newRow("QT_QPA_PLATFORM=wayland is kept")
        << QByteArray("wayland") << QByteArray("wayland") << QByteArray("wayland-0")
        << QByteArray(":0") << absent << absent << true;
    QTest::newRow("QT_QPA_PLATFORM=xcb is left to Qt")
        << QByteArray("xcb") << QByteArray("wayland") << QByteArray("wayland-0")
        << QByteArray(":0") << absent << absent << true;
    QTest::newRow("-platform wayland is kept")
        << QByteArray() << QByteArray("wayland") << QByteArray("wayland-0") << QByteArray(":0")
        << QByteArray("wayland") << absent << true;
    QTest::newRow("-platform with an empty value still counts as a choice")
        << QByteArray() << QByteArray("wayland") << QByteArray("wayland-0") << QByteArray(":0")
        << QByteArray("") << absent << true;

    // Not a Wayland session: nothing to do.
    QTest::newRow("x11 session") << QByteArray() << QByteArray("x11") << QByteArray()
                                 << QByteArray(":0") << absent << absent << true;
    QTest::newRow("tty session with DISPLAY only") << QByteArray() << QByteArray("tty")
                                                   << QByteArray() << QByteArray(":99") << absent
                                                   << absent << true;

    // The display check follows the plugin that will really be used.
    QTest::newRow("no display at all is refused")
        << QByteArray() << QByteArray() << QByteArray() << QByteArray() << absent << absent
        << false;
    QTest::newRow("wayland session type without any display is refused")
        << QByteArray() << QByteArray("wayland") << QByteArray() << QByteArray() << absent
        << absent << false;
    QTest::newRow("offscreen needs no display")
        << QByteArray("offscreen") << QByteArray() << QByteArray() << QByteArray() << absent
        << absent << true;
    QTest::newRow("-platform offscreen needs no display")
        << QByteArray() << QByteArray() << QByteArray() << QByteArray()
        << QByteArray("offscreen") << absent << true;
    QTest::newRow("-platform xcb overrides an offscreen variable")
        << QByteArray("offscreen") << QByteArray() << QByteArray() << QByteArray()
        << QByteArray("xcb") << absent << false;
    QTest::newRow("xcb with options needs a display")
        << QByteArray("xcb:nograb") << QByteArray() << QByteArray() << QByteArray() << absent
        << absent << false;
    QTest::newRow("wayland-egl needs a display")
        << QByteArray("wayland-egl") << QByteArray() << QByteArray() << QByteArray() << absent
        << absent << false;
}

void Test_sessionplatform::decide()
{
    QFETCH(QByteArray, qpa);
    QFETCH(QByteArray, sessionType);
    QFETCH(QByteArray, waylandDisplay);
    QFETCH(QByteArray, display);
    QFETCH(QByteArray, argument);
    QFETCH(QByteArray, forced);
    QFETCH(bool, displayFound);

    const sessionplatform::Decision d =
        sessionplatform::decide(Environment{qpa, sessionType, waylandDisplay, display},
                                optionalOf(argument));
    QCOMPARE(d.forcedPlatform, optionalOf(forced));
    QCOMPARE(d.displayFound, displayFound);
}

void Test_sessionplatform::platformArgument_data()
{
    QTest::addColumn<QList<QByteArray>>("args"); // without the program name
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("none") << QList<QByteArray>{} << absent;
    QTest::newRow("other options") << QList<QByteArray>{"-style", "fusion", "-reverse"} << absent;
    QTest::newRow("-platform") << QList<QByteArray>{"-platform", "wayland"} << QByteArray("wayland");
    QTest::newRow("--platform") << QList<QByteArray>{"--platform", "offscreen"}
                                << QByteArray("offscreen");
    QTest::newRow("after other options")
        << QList<QByteArray>{"-style", "fusion", "-platform", "xcb"} << QByteArray("xcb");
    QTest::newRow("last one wins")
        << QList<QByteArray>{"-platform", "xcb", "-platform", "wayland"} << QByteArray("wayland");
    QTest::newRow("without a value") << QList<QByteArray>{"-platform"} << absent;
    QTest::newRow("lookalike") << QList<QByteArray>{"-platformtheme", "gtk3"} << absent;
    QTest::newRow("with equals sign is not Qt's form")
        << QList<QByteArray>{"-platform=xcb"} << absent;
}

void Test_sessionplatform::platformArgument()
{
    QFETCH(QList<QByteArray>, args);
    QFETCH(QByteArray, expected);

    QList<QByteArray> storage{QByteArrayLiteral("snipdeck")};
    storage.append(args);
    std::vector<const char *> argv;
    for (const QByteArray &a : std::as_const(storage))
        argv.push_back(a.constData());
    argv.push_back(nullptr);

    QCOMPARE(sessionplatform::platformArgument(int(storage.size()), argv.data()),
             optionalOf(expected));
}

QTEST_GUILESS_MAIN(Test_sessionplatform)
#include "tst_sessionplatform.moc"
