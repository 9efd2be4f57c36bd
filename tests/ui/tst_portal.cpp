// The paste in a Wayland session, against a RemoteDesktop portal of the test's own on a
// private session bus: what the paster asks the desktop, in which order, and what it makes
// of each answer.

#include "platform/portalpaster.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QMutex>
#include <QTest>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

const QString kPath = u"/org/freedesktop/portal/desktop"_s;

/** The desktop's portal. A request gets the response code `answers` gives its method (0,
    the default: granted; 1: the user said no; 2: closed otherwise), or "error" for a call
    the portal fails. Called on the bus's own thread. */
class FakePortal final : public QDBusVirtualObject
{
public:
    QVariantMap properties;
    QVariantMap answers;

    QString introspect(const QString &) const override { return {}; }

    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override
    {
        const QString method = message.member();
        const QVariantList args = message.arguments();
        if (method == u"GetAll")
            return connection.send(message.createReply(QVariant::fromValue(properties)));
        if (method == u"NotifyKeyboardKeysym") {
            record(u"key %1 %2"_s.arg(args.value(2).toInt()).arg(args.value(3).toUInt()));
            return connection.send(message.createReply());
        }
        if (method == u"Close") {
            record(method);
            return connection.send(message.createReply());
        }
        const QVariantMap options = qdbus_cast<QVariantMap>(args.last());
        record(method + (method == u"SelectDevices" ? u" types=%1 persist=%2 token=%3"_s.arg(
                                 options.value(u"types"_s).toString(), options.value(u"persist_mode"_s).toString(),
                                 options.value(u"restore_token"_s).toString()) : QString()));
        if (answers.value(method) == u"error"_s)
            return connection.send(message.createErrorReply(QDBusError::AccessDenied, u"refused"_s));
        // The request's path is made of the caller's name and its token, as the paster expects.
        const QString caller = message.service().mid(1).replace(u'.', u'_');
        const QString request = kPath + u"/request/"_s + caller + u'/' + options.value(u"handle_token"_s).toString();
        connection.send(message.createReply(QVariant::fromValue(QDBusObjectPath(request))));
        QVariantMap results;
        if (method == u"CreateSession") {
            QMutexLocker lock(&m_mutex);
            m_session = kPath + u"/session/"_s + caller + u'/' + options.value(u"session_handle_token"_s).toString();
            results.insert(u"session_handle"_s, m_session);
        } else if (method == u"Start") {
            results.insert(u"restore_token"_s, u"T2"_s);
        }
        QDBusMessage response = QDBusMessage::createSignal(request, u"org.freedesktop.portal.Request"_s, u"Response"_s);
        response << answers.value(method, 0).toUInt() << results;
        return connection.send(response);
    }

    /** The desktop ends the session, as when the user takes the consent back. */
    void closeSession(const QDBusConnection &connection)
    {
        QMutexLocker lock(&m_mutex);
        QDBusMessage closed = QDBusMessage::createSignal(m_session, u"org.freedesktop.portal.Session"_s, u"Closed"_s);
        connection.send(closed << QVariantMap());
    }

    QString calls() const
    {
        QMutexLocker lock(&m_mutex);
        return m_calls.join(u'|');
    }

private:
    bool record(const QString &call)
    {
        QMutexLocker lock(&m_mutex);
        m_calls << call;
        return true;
    }

    mutable QMutex m_mutex;
    QStringList m_calls;
    QString m_session;
};

} // namespace

class TestPortal : public QObject
{
    Q_OBJECT

private slots:
    // Steps: "paste", "closed" (the desktop ends the session), "release"; each runs once
    // the paster has settled. Keys: Shift 65505, Control 65507, v 118.
    void consent_data()
    {
        QTest::addColumn<uint>("version");
        QTest::addColumn<uint>("devices"); // 1 keyboard, 2 pointer
        QTest::addColumn<QByteArray>("grant");
        QTest::addColumn<QVariantMap>("answers");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("calls");
        QTest::addColumn<QString>("outcome");
        const QString started = u"CreateSession|SelectDevices types=1 persist=2 token=|Start|key 65505 1|key 65505 0"_s;
        const QString paste = u"|key 65507 1|key 118 1|key 118 0|key 65507 0"_s;
        QTest::newRow("first consent, then a paste") << 2u << 3u << QByteArray() << QVariantMap() << QStringList{u"paste"_s}
                << started + paste << u"granted T2, unfocusable"_s;
        QTest::newRow("the consent of an earlier run") << 2u << 1u << QByteArray("T1") << QVariantMap() << QStringList()
                << started.sliced(0, started.indexOf(u"|Start"_s)) + u"T1|Start|key 65505 1|key 65505 0"_s
                << u"granted T2, unfocusable"_s;
        for (const uint no : {1u, 2u})
            QTest::addRow("the user says no (%u), then a paste", no) << 2u << 1u << QByteArray()
                    << QVariantMap{{u"Start"_s, no}} << QStringList{u"paste"_s}
                    << u"CreateSession|SelectDevices types=1 persist=2 token=|Start|Close"_s << u"failed 3, focusable"_s;
        QTest::newRow("the portal fails a call") << 2u << 1u << QByteArray() << QVariantMap{{u"SelectDevices"_s, u"error"_s}}
                << QStringList() << u"CreateSession|SelectDevices types=1 persist=2 token=|Close"_s << u"failed 1, focusable"_s;
        QTest::newRow("a portal that cannot keep the consent") << 1u << 1u << QByteArray() << QVariantMap() << QStringList()
                << QString() << u"failed 2, focusable"_s;
        QTest::newRow("no keyboard offered") << 2u << 2u << QByteArray() << QVariantMap() << QStringList() << QString()
                << u"failed 1, focusable"_s;
        QTest::newRow("the desktop ends the session, then a paste") << 2u << 1u << QByteArray() << QVariantMap()
                << QStringList{u"closed"_s, u"paste"_s} << started << u"granted T2, failed 3, focusable"_s;
        QTest::newRow("turned off, then a paste") << 2u << 1u << QByteArray() << QVariantMap()
                << QStringList{u"release"_s, u"paste"_s} << started + u"|Close"_s << u"granted T2, focusable"_s;
    }
    void consent()
    {
        QFETCH(uint, version);
        QFETCH(uint, devices);
        QFETCH(QByteArray, grant);
        QFETCH(QStringList, steps);
        QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, u"portal"_s);
        QVERIFY(bus.isConnected());
        FakePortal portal;
        portal.properties = {{u"version"_s, version}, {u"AvailableDeviceTypes"_s, devices}};
        QFETCH(QVariantMap, answers);
        portal.answers = answers;
        QVERIFY(bus.registerVirtualObject(kPath, &portal, QDBusConnection::SubPath));
        QVERIFY(bus.registerService(u"org.freedesktop.portal.Desktop"_s));
        QStringList outcome;
        {
            QWidget bar;
            PortalPaster paster;
            paster.setBar(bar);
            paster.granted = [&](const QByteArray &token) { outcome << u"granted "_s + QString::fromLatin1(token); };
            paster.failed = [&](Paster::Obstacle obstacle) { outcome << u"failed %1"_s.arg(int(obstacle)); };
            paster.prepare(grant); // before the portal has told what it can
            for (const QString &step : steps) {
                QTest::qWait(300);
                if (step == u"paste")
                    paster.pasteIntoPrevious();
                else if (step == u"closed")
                    portal.closeSession(bus);
                else
                    paster.release();
            }
            QFETCH(QString, calls);
            if (QTest::qWaitFor([&] { return portal.calls() == calls; }, 3000))
                QTest::qWait(200); // and nothing more comes
            QCOMPARE(portal.calls(), calls);
            // While pasting is on, a click on the bar leaves the keyboard where it is.
            outcome << (bar.windowFlags() & Qt::WindowDoesNotAcceptFocus ? u"unfocusable"_s : u"focusable"_s);
        }
        QTEST(outcome.join(u", "_s), "outcome");
        bus.unregisterService(u"org.freedesktop.portal.Desktop"_s);
        bus.unregisterObject(kPath, QDBusConnection::UnregisterTree);
        QDBusConnection::disconnectFromBus(u"portal"_s);
    }
};

QTEST_MAIN(TestPortal)
#include "tst_portal.moc"
