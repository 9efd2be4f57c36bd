#include "platform/sessionplatform.h"

#include <QTest>

#include <vector>

namespace {
/** "-" stands for no value at all: an argument not given, nothing forced. */
std::optional<QByteArray> optionalOf(const QString &value)
{
    return value == u"-" ? std::nullopt : std::optional<QByteArray>(value.toUtf8());
}
} // namespace

class TestSessionPlatform : public QObject
{
    Q_OBJECT
private slots:
    void decide_data();
    void decide();
    void platformArgument_data();
    void platformArgument();
};

void TestSessionPlatform::decide_data()
{
    QTest::addColumn<QString>("env"); // QT_QPA_PLATFORM|XDG_SESSION_TYPE|WAYLAND_DISPLAY|DISPLAY
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("forced");
    QTest::addColumn<bool>("displayFound");
    QTest::newRow("wayland with xwayland runs on xcb") << "|wayland|wayland-0|:0" << "-" << "xcb" << true;
    QTest::newRow("wayland display alone marks the session") << "||wayland-0|:0" << "-" << "xcb" << true;
    QTest::newRow("session type alone marks the session") << "|wayland||:1" << "-" << "xcb" << true;
    QTest::newRow("wayland without xwayland runs natively") << "|wayland|wayland-0|" << "-" << "-" << true;
    QTest::newRow("QT_QPA_PLATFORM is the user's choice") << "xcb|wayland|wayland-0|:0" << "-" << "-" << true;
    QTest::newRow("-platform is the user's choice") << "|wayland|wayland-0|:0" << "wayland" << "-" << true;
    QTest::newRow("-platform with an empty value too") << "|wayland|wayland-0|:0" << "" << "-" << true;
    QTest::newRow("x11 session") << "|x11||:0" << "-" << "-" << true;
    QTest::newRow("no display at all is refused") << "|||" << "-" << "-" << false;
    QTest::newRow("wayland session type without a display") << "|wayland||" << "-" << "-" << false;
    QTest::newRow("offscreen needs no display") << "offscreen|||" << "-" << "-" << true;
    QTest::newRow("-platform offscreen needs no display") << "|||" << "offscreen" << "-" << true;
    QTest::newRow("-platform xcb overrides offscreen") << "offscreen|||" << "xcb" << "-" << false;
    QTest::newRow("xcb with options needs a display") << "xcb:nograb|||" << "-" << "-" << false;
    QTest::newRow("wayland-egl needs a display") << "wayland-egl|||" << "-" << "-" << false;
}

void TestSessionPlatform::decide()
{
    QFETCH(QString, env);
    QFETCH(QString, argument);
    QFETCH(QString, forced);
    const QByteArrayList v = env.toUtf8().split('|');
    const auto d = sessionplatform::decide({v[0], v[1], v[2], v[3]}, optionalOf(argument));
    QCOMPARE(d.forcedPlatform, optionalOf(forced));
    QTEST(d.displayFound, "displayFound");
}

void TestSessionPlatform::platformArgument_data()
{
    QTest::addColumn<QByteArrayList>("args"); // without the program name
    QTest::addColumn<QString>("expected");
    QTest::newRow("none") << QByteArrayList{} << "-";
    QTest::newRow("other options") << QByteArrayList{"-style", "fusion", "-reverse"} << "-";
    QTest::newRow("--platform") << QByteArrayList{"--platform", "offscreen"} << "offscreen";
    QTest::newRow("after other options") << QByteArrayList{"-style", "fusion", "-platform", "xcb"} << "xcb";
    QTest::newRow("last one wins") << QByteArrayList{"-platform", "xcb", "-platform", "wayland"} << "wayland";
    QTest::newRow("without a value") << QByteArrayList{"-platform"} << "-";
    QTest::newRow("lookalike") << QByteArrayList{"-platformtheme", "gtk3"} << "-";
    QTest::newRow("with equals sign is not Qt's form") << QByteArrayList{"-platform=xcb"} << "-";
}

void TestSessionPlatform::platformArgument()
{
    QFETCH(QByteArrayList, args);
    QFETCH(QString, expected);
    args.prepend("snipdeck");
    std::vector<const char *> argv;
    for (const QByteArray &a : std::as_const(args))
        argv.push_back(a.constData());
    QCOMPARE(sessionplatform::platformArgument(int(argv.size()), argv.data()), optionalOf(expected));
}

QTEST_GUILESS_MAIN(TestSessionPlatform)
#include "tst_sessionplatform.moc"
