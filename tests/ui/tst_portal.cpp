// The paste in a Wayland session, against a RemoteDesktop portal of the test's own on a
// private session bus: what the paster asks the desktop, in which order, and what it makes
// of each answer.

#include "datatable.h"
#include "platform/portalpaster.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QGuiApplication>
#include <QMutex>
#include <QTest>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

const QString kPath = u"/org/freedesktop/portal/desktop"_s;

/** The desktop's portal, called on the bus's own thread. A request's response code is what
    `answers` gives its method (0, the default: granted; 1: the user said no; 2: closed
    otherwise), or "error" for a call the portal fails. */
class FakePortal final : public QDBusVirtualObject
{
public:
    QVariantMap properties;
    QVariantMap answers;

    QString introspect(const QString &) const override { return {}; }
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &bus) override
    {
        const QString method = message.member();
        const QVariantList args = message.arguments();
        QMutexLocker lock(&m_mutex);
        if (method == u"GetAll")
            return bus.send(message.createReply(QVariant::fromValue(properties)));
        const bool key = method == u"NotifyKeyboardKeysym";
        const QVariantMap options = key || args.isEmpty() ? QVariantMap() : qdbus_cast<QVariantMap>(args.last());
        m_calls << (key ? u"key %1 %2"_s.arg(args.value(2).toInt()).arg(args.value(3).toUInt())
                    : method == u"SelectDevices" ? u"%1 types=%2 persist=%3 token=%4"_s.arg(method, options.value(u"types"_s).toString(),
                              options.value(u"persist_mode"_s).toString(), options.value(u"restore_token"_s).toString())
                                                 : method);
        if (answers.value(method) == u"error"_s)
            return bus.send(message.createErrorReply(QDBusError::AccessDenied, u"refused"_s));
        if (!options.contains(u"handle_token"_s)) // a key, or the session closed
            return bus.send(message.createReply());
        // The request's path is made of the caller's name and its token, as the paster expects.
        const QString caller = message.service().mid(1).replace(u'.', u'_');
        const QString request = kPath + u"/request/"_s + caller + u'/' + options.value(u"handle_token"_s).toString();
        bus.send(message.createReply(QVariant::fromValue(QDBusObjectPath(request))));
        QVariantMap results;
        if (method == u"CreateSession")
            results.insert(u"session_handle"_s, m_session = kPath + u"/session/"_s + caller + u"/s"_s);
        else if (method == u"Start")
            results.insert(u"restore_token"_s, u"T2"_s);
        QDBusMessage response = QDBusMessage::createSignal(request, u"org.freedesktop.portal.Request"_s, u"Response"_s);
        return bus.send(response << answers.value(method, 0).toUInt() << results);
    }

    /** The desktop ends the session, as when the user takes the consent back. */
    void closeSession(const QDBusConnection &bus)
    {
        QMutexLocker lock(&m_mutex);
        bus.send(QDBusMessage::createSignal(m_session, u"org.freedesktop.portal.Session"_s, u"Closed"_s) << QVariantMap());
    }
    QString calls() const
    {
        QMutexLocker lock(&m_mutex);
        return m_calls.join(u'|');
    }

private:
    mutable QMutex m_mutex;
    QStringList m_calls;
    QString m_session;
};

} // namespace

class TestPortal : public QObject
{
    Q_OBJECT

private slots:
    // Portal: version, device types (1 keyboard, 2 pointer), then the answers. Steps, once the
    // paster has settled: "paste", "closed" (the desktop ends the session), "release", "wanted"
    // (the bar is to take keys itself), "away" (another program's window is active).
    // Keys: Shift 65505, Control 65507, v 118.
    void consent_data()
    {
        columns<QVariantList, QByteArray, QStringList, QString, QString>({"portal", "grant", "steps", "calls", "outcome"});
        const QString asked = u"CreateSession|SelectDevices types=1 persist=2 token="_s;
        const QString started = asked + u"|Start|key 65505 1|key 65505 0"_s;
        const QStringList paste{u"paste"_s};
        QTest::newRow("first consent, then a paste") << QVariantList{2, 3} << QByteArray() << paste
                << started + u"|key 65507 1|key 118 1|key 118 0|key 65507 0"_s << u"granted T2, unfocusable"_s;
        QTest::newRow("the keyboard wanted, then another window") << QVariantList{2, 1} << QByteArray()
                << QStringList{u"wanted"_s, u"away"_s} << started << u"granted T2, focusable, unfocusable"_s;
        QTest::newRow("the consent of an earlier run") << QVariantList{2, 1} << QByteArray("T1") << QStringList()
                << asked + u"T1|Start|key 65505 1|key 65505 0"_s << u"granted T2, unfocusable"_s;
        for (const uint no : {1u, 2u})
            QTest::addRow("the user says no (%u), then a paste", no) << QVariantList{2, 1, QVariantMap{{u"Start"_s, no}}}
                    << QByteArray() << QStringList{u"paste"_s, u"away"_s} << asked + u"|Start|Close"_s << u"failed 3, focusable"_s;
        QTest::newRow("the portal fails a call") << QVariantList{2, 1, QVariantMap{{u"SelectDevices"_s, u"error"_s}}}
                << QByteArray() << paste << asked + u"|Close"_s << u"failed 1, focusable"_s;
        QTest::newRow("a portal that cannot keep the consent") << QVariantList{1, 1} << QByteArray() << paste << QString()
                << u"failed 2, focusable"_s;
        QTest::newRow("no keyboard offered") << QVariantList{2, 2} << QByteArray() << paste << QString() << u"failed 1, focusable"_s;
        QTest::newRow("the desktop ends the session, then a paste") << QVariantList{2, 1} << QByteArray()
                << QStringList{u"closed"_s, u"paste"_s} << started << u"granted T2, failed 3, focusable"_s;
        QTest::newRow("turned off, then a paste") << QVariantList{2, 1} << QByteArray()
                << QStringList{u"release"_s, u"paste"_s} << started + u"|Close"_s << u"granted T2, focusable"_s;
    }
    void consent()
    {
        QFETCH(QVariantList, portal);
        QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, u"portal"_s);
        FakePortal desktop;
        desktop.properties = {{u"version"_s, portal[0].toUInt()}, {u"AvailableDeviceTypes"_s, portal[1].toUInt()}};
        desktop.answers = portal.value(2).toMap();
        QVERIFY(bus.registerVirtualObject(kPath, &desktop, QDBusConnection::SubPath));
        QVERIFY(bus.registerService(u"org.freedesktop.portal.Desktop"_s));
        QStringList outcome;
        {
            QWidget bar;
            PortalPaster paster;
            paster.setBar(bar);
            paster.granted = [&](const QByteArray &token) { outcome << u"granted "_s + QString::fromLatin1(token); };
            paster.failed = [&](Paster::Obstacle obstacle) { outcome << u"failed %1"_s.arg(int(obstacle)); };
            // While pasting is on, a click on the bar leaves the keyboard where it is.
            const auto focus = [&bar] { return bar.windowFlags() & Qt::WindowDoesNotAcceptFocus ? u"unfocusable"_s : u"focusable"_s; };
            paster.prepare(fetched<QByteArray>("grant")); // before the portal has told what it can
            for (const QString &step : fetched<QStringList>("steps")) {
                QTest::qWait(300);
                if (step == u"paste") {
                    paster.pasteIntoPrevious();
                } else if (step == u"closed") {
                    desktop.closeSession(bus);
                } else if (step == u"wanted") {
                    paster.keyboardWanted();
                    outcome << focus();
                } else if (step == u"away") {
                    emit qGuiApp->applicationStateChanged(Qt::ApplicationInactive);
                } else {
                    paster.release();
                }
            }
            QFETCH(QString, calls);
            if (QTest::qWaitFor([&] { return desktop.calls() == calls; }, 3000))
                QTest::qWait(200); // and nothing more comes
            QCOMPARE(desktop.calls(), calls);
            outcome << focus();
        }
        QTEST(outcome.join(u", "_s), "outcome");
        bus.unregisterService(u"org.freedesktop.portal.Desktop"_s);
        bus.unregisterObject(kPath, QDBusConnection::UnregisterTree);
        QDBusConnection::disconnectFromBus(u"portal"_s);
    }
};

QTEST_MAIN(TestPortal)
#include "tst_portal.moc"
