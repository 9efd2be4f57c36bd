#include "platform/desktopexec.h"
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

class TestPlatform : public QObject
{
    Q_OBJECT

private slots:
    void decide_data()
    {
        QTest::addColumn<QString>("env"); // QT_QPA_PLATFORM|XDG_SESSION_TYPE|WAYLAND_DISPLAY|DISPLAY
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("forced");
        QTest::addColumn<bool>("displayFound");
        QTest::newRow("wayland display with xwayland runs on xcb") << "||wayland-0|:0" << "-" << "xcb" << true;
        QTest::newRow("session type alone marks the session") << "|wayland||:1" << "-" << "xcb" << true;
        QTest::newRow("wayland without xwayland runs natively") << "|wayland|wayland-0|" << "-" << "-" << true;
        QTest::newRow("QT_QPA_PLATFORM is the user's choice") << "xcb|wayland|wayland-0|:0" << "-" << "-" << true;
        QTest::newRow("-platform is the user's choice") << "|wayland|wayland-0|:0" << "wayland" << "-" << true;
        QTest::newRow("-platform with an empty value too") << "|wayland|wayland-0|:0" << "" << "-" << true;
        QTest::newRow("x11 session") << "|x11||:0" << "-" << "-" << true;
        QTest::newRow("no display at all is refused") << "|||" << "-" << "-" << false;
        QTest::newRow("wayland session type without a display") << "|wayland||" << "-" << "-" << false;
        QTest::newRow("offscreen needs no display") << "offscreen|||" << "-" << "-" << true;
        QTest::newRow("-platform xcb overrides offscreen") << "offscreen|||" << "xcb" << "-" << false;
        QTest::newRow("xcb with options needs a display") << "xcb:nograb|||" << "-" << "-" << false;
        QTest::newRow("wayland-egl needs a display") << "wayland-egl|||" << "-" << "-" << false;
    }
    void decide()
    {
        QFETCH(QString, env);
        QFETCH(QString, argument);
        QFETCH(QString, forced);
        const QByteArrayList v = env.toUtf8().split('|');
        const auto d = sessionplatform::decide({v[0], v[1], v[2], v[3]}, optionalOf(argument));
        QCOMPARE(d.forcedPlatform, optionalOf(forced));
        QTEST(d.displayFound, "displayFound");
    }

    void platformArgument_data()
    {
        QTest::addColumn<QByteArrayList>("args"); // without the program name
        QTest::addColumn<QString>("expected");
        QTest::newRow("other options") << QByteArrayList{"-style", "fusion", "-reverse"} << "-";
        QTest::newRow("--platform") << QByteArrayList{"--platform", "offscreen"} << "offscreen";
        QTest::newRow("last one wins") << QByteArrayList{"-platform", "xcb", "-platform", "wayland"} << "wayland";
        QTest::newRow("without a value") << QByteArrayList{"-platform"} << "-";
        QTest::newRow("lookalike") << QByteArrayList{"-platformtheme", "gtk3"} << "-";
    }
    void platformArgument()
    {
        QFETCH(QByteArrayList, args);
        args.prepend("snipdeck");
        std::vector<const char *> argv;
        for (const QByteArray &a : std::as_const(args))
            argv.push_back(a.constData());
        QFETCH(QString, expected);
        QCOMPARE(sessionplatform::platformArgument(int(argv.size()), argv.data()), optionalOf(expected));
    }

    void unquoted()
    {
        QCOMPARE(desktopexec::unquoted(u"\"/a b/c;d.cdt\""_qs), u"/a b/c;d.cdt"_qs);
        QCOMPARE(desktopexec::unquoted(u"\"/x.cdt"_qs), u"/x.cdt"_qs);
        QCOMPARE(desktopexec::unquoted(u"/x.cdt"_qs), u"/x.cdt"_qs);
    }

    void argumentsBeforeFile_data()
    {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("options before the file") << QStringList{"kate", "-b", "--new", "%f"} << QStringList{"-b", "--new"};
        QTest::newRow("nothing after the file code") << QStringList{"ed", "%F", "--late"} << QStringList{};
        QTest::newRow("other codes dropped") << QStringList{"app", "%i", "%c", "-x", "%k", "%u", "-y"} << QStringList{"-x"};
        QTest::newRow("percent sign kept") << QStringList{"app", "--ratio=50%%", "50%", "%U", "-y"}
                                           << QStringList{"--ratio=50%", "50%"};
        QTest::newRow("file code inside a word") << QStringList{"app", "-a", "--open=%f", "-z"} << QStringList{"-a"};
    }
    void argumentsBeforeFile()
    {
        QFETCH(QStringList, words);
        QTEST(desktopexec::argumentsBeforeFile(words), "arguments");
    }
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
