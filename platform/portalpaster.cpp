#include "platform/portalpaster.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include <utility>

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kRemoteDesktop = QStringLiteral("org.freedesktop.portal.RemoteDesktop");
const QString kRequest = QStringLiteral("org.freedesktop.portal.Request");
const QString kSession = QStringLiteral("org.freedesktop.portal.Session");

// The portal's numbers.
constexpr uint kKeyboard = 1;
/** Kept until the user takes the consent back, also across restarts. */
constexpr uint kPersistUntilRevoked = 2;
/** Version 2 has persist_mode and restore_token; version 1 would ask at every start. */
constexpr uint kFirstVersionThatRemembers = 2;
constexpr int kControlL = 0xffe3;
constexpr int kShiftL = 0xffe1;
constexpr int kLowerV = 0x76;

QDBusMessage portalCall(const QString &method)
{
    return QDBusMessage::createMethodCall(kService, kPath, kRemoteDesktop, method);
}

} // namespace

PortalPaster::PortalPaster()
{
    // Back in another window: the bar lets go of the keyboard it was given on purpose.
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state != Qt::ApplicationActive && m_step == Step::Started)
                    setFocusable(false);
            });
    if (!QDBusConnection::sessionBus().isConnected()) {
        m_probing = false;
        m_obstacle = Obstacle::Unreachable;
        return;
    }
    QDBusMessage get = QDBusMessage::createMethodCall(
            kService, kPath, QStringLiteral("org.freedesktop.DBus.Properties"),
            QStringLiteral("GetAll"));
    get << kRemoteDesktop;
    auto *call = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(get), this);
    connect(call, &QDBusPendingCallWatcher::finished, this, &PortalPaster::probed);
}

PortalPaster::~PortalPaster()
{
    closeSession();
}

Paster::Obstacle PortalPaster::obstacle() const
{
    return m_obstacle;
}

void PortalPaster::probed(QDBusPendingCallWatcher *call)
{
    call->deleteLater();
    const QDBusPendingReply<QVariantMap> reply = *call;
    const QVariantMap properties = reply.isValid() ? reply.value() : QVariantMap();
    m_probing = false;
    if (!(properties.value(QStringLiteral("AvailableDeviceTypes")).toUInt() & kKeyboard))
        m_obstacle = Obstacle::Unreachable;
    else if (properties.value(QStringLiteral("version")).toUInt() < kFirstVersionThatRemembers)
        m_obstacle = Obstacle::OldDesktop;
    if (const std::optional<QByteArray> grant = std::exchange(m_waitingGrant, std::nullopt))
        prepare(*grant);
}

void PortalPaster::setBar(QWidget &bar)
{
    m_bar = &bar;
}

void PortalPaster::prepare(const QByteArray &grant)
{
    if (m_probing) {
        m_waitingGrant = grant;
        return;
    }
    if (m_obstacle != Obstacle::None) {
        if (failed)
            failed(m_obstacle);
        return;
    }
    if (m_step != Step::None)
        return;
    m_grant = grant;
    const QString token = QStringLiteral("snipdeck%1").arg(++m_requests);
    request(Step::CreateSession, QStringLiteral("CreateSession"), {},
            {{QStringLiteral("session_handle_token"), token}});
}

void PortalPaster::request(Step step, const QString &method, QVariantList arguments,
                           QVariantMap options)
{
    // The portal answers on a path made of this connection's name and a token of ours; the
    // answer is listened for before the question goes out, so that it cannot come first.
    const QString token = QStringLiteral("snipdeck%1").arg(++m_requests);
    QString sender = QDBusConnection::sessionBus().baseService().mid(1);
    sender.replace(u'.', u'_');
    m_requestPath = kPath + QStringLiteral("/request/") + sender + u'/' + token;
    QDBusConnection::sessionBus().connect(kService, m_requestPath, kRequest,
                                          QStringLiteral("Response"), this,
                                          SLOT(requestAnswered(uint,QVariantMap)));
    m_step = step;
    options.insert(QStringLiteral("handle_token"), token);
    QDBusMessage call = portalCall(method);
    call.setArguments(arguments << options);
    auto *pending = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call),
                                                this);
    connect(pending, &QDBusPendingCallWatcher::finished, this,
            [this, step](QDBusPendingCallWatcher *answer) {
                answer->deleteLater();
                if (answer->isError() && m_step == step)
                    fail(Obstacle::Unreachable);
            });
}

void PortalPaster::requestAnswered(uint response, const QVariantMap &results)
{
    QDBusConnection::sessionBus().disconnect(kService, m_requestPath, kRequest,
                                             QStringLiteral("Response"), this,
                                             SLOT(requestAnswered(uint,QVariantMap)));
    // 0: granted; 1: the user said no (or closed the dialog); 2: anything else.
    if (response != 0) {
        fail(Obstacle::Refused);
        return;
    }
    switch (m_step) {
    case Step::CreateSession: {
        // A string by the portal's documentation; an object path in some versions.
        const QVariant handle = results.value(QStringLiteral("session_handle"));
        m_session = handle.metaType() == QMetaType::fromType<QDBusObjectPath>()
                ? handle.value<QDBusObjectPath>().path()
                : handle.toString();
        QDBusConnection::sessionBus().connect(kService, m_session, kSession,
                                              QStringLiteral("Closed"), this,
                                              SLOT(sessionClosed()));
        QVariantMap options{{QStringLiteral("types"), kKeyboard},
                            {QStringLiteral("persist_mode"), kPersistUntilRevoked}};
        if (!m_grant.isEmpty())
            options.insert(QStringLiteral("restore_token"), QString::fromLatin1(m_grant));
        request(Step::SelectDevices, QStringLiteral("SelectDevices"),
                {QVariant::fromValue(QDBusObjectPath(m_session))}, options);
        break;
    }
    case Step::SelectDevices:
        // Here the desktop asks the user, unless the restore token stands for the answer.
        request(Step::Start, QStringLiteral("Start"),
                {QVariant::fromValue(QDBusObjectPath(m_session)), QString()}, {});
        break;
    case Step::Start:
        m_step = Step::Started;
        setFocusable(false);
        // mutter makes the session's keyboard on its first key and drops that key: a Shift
        // tap, which types nothing, makes it before the first paste needs it.
        pressKey(kShiftL, true);
        pressKey(kShiftL, false);
        if (granted)
            granted(results.value(QStringLiteral("restore_token")).toString().toLatin1());
        break;
    case Step::None:
    case Step::Started:
        break;
    }
}

void PortalPaster::sessionClosed()
{
    // The desktop ended it: the user took the consent back, from the desktop's own menu.
    m_session.clear();
    fail(Obstacle::Refused);
}

void PortalPaster::fail(Obstacle obstacle)
{
    closeSession();
    m_obstacle = obstacle;
    if (failed)
        failed(obstacle);
}

void PortalPaster::release()
{
    closeSession();
}

void PortalPaster::closeSession()
{
    if (!m_requestPath.isEmpty())
        QDBusConnection::sessionBus().disconnect(kService, m_requestPath, kRequest,
                                                 QStringLiteral("Response"), this,
                                                 SLOT(requestAnswered(uint,QVariantMap)));
    if (!m_session.isEmpty()) {
        QDBusConnection::sessionBus().disconnect(kService, m_session, kSession,
                                                 QStringLiteral("Closed"), this,
                                                 SLOT(sessionClosed()));
        QDBusConnection::sessionBus().send(
                QDBusMessage::createMethodCall(kService, m_session, kSession,
                                               QStringLiteral("Close")));
    }
    m_session.clear();
    m_requestPath.clear();
    m_step = Step::None;
    setFocusable(true);
}

void PortalPaster::setFocusable(bool focusable)
{
    if (!m_bar)
        return;
    Qt::WindowFlags flags = m_bar->windowFlags();
    flags.setFlag(Qt::WindowDoesNotAcceptFocus, !focusable);
    if (flags == m_bar->windowFlags())
        return;
    // As QWidget::setWindowFlags() would, but without unmapping and recreating the window:
    // the native window first, as the widget's own flags may be its window's too.
    if (QWindow *handle = m_bar->windowHandle())
        handle->setFlags(flags);
    m_bar->overrideWindowFlags(flags);
}

void PortalPaster::keyboardWanted()
{
    if (m_step != Step::Started || !m_bar)
        return;
    setFocusable(true);
    m_bar->activateWindow();
}

void PortalPaster::pasteIntoPrevious()
{
    // The bar itself has the keyboard: the keys would come back to it.
    if (m_step != Step::Started || QGuiApplication::applicationState() == Qt::ApplicationActive)
        return;
    for (const auto &[keysym, down] : {std::pair{kControlL, true}, {kLowerV, true},
                                       {kLowerV, false}, {kControlL, false}})
        pressKey(keysym, down);
}

void PortalPaster::pressKey(int keysym, bool down)
{
    m_keys.append({keysym, down});
    if (m_keys.size() == 1)
        sendKey();
}

void PortalPaster::sendKey()
{
    // One at a time: the portal may handle calls that come together in any order.
    if (m_keys.isEmpty() || m_session.isEmpty()) {
        m_keys.clear();
        return;
    }
    QDBusMessage call = portalCall(QStringLiteral("NotifyKeyboardKeysym"));
    call << QVariant::fromValue(QDBusObjectPath(m_session)) << QVariantMap()
         << m_keys.first().first << uint(m_keys.first().second ? 1 : 0);
    auto *sent = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(sent, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *done) {
        done->deleteLater();
        if (!m_keys.isEmpty())
            m_keys.removeFirst();
        sendKey();
    });
}
