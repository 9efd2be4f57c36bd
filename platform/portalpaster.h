#pragma once

#include "platform/paster.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantMap>

#include <optional>
#include <utility>

class QDBusPendingCallWatcher;
class QWidget;

/** Pasting in a Wayland session, through the desktop's RemoteDesktop portal
    (org.freedesktop.portal.RemoteDesktop, GNOME's and KDE's), which types keys into whatever
    window has the keyboard focus. Turned on, it asks the desktop for a keyboard; the desktop
    asks the user once, and the restore token it returns skips the question from then on.

    The other window keeps the focus because the bar does not take it on a click while
    pasting is on. The user still gives it the keyboard on purpose, for its key commands: a
    right click (the menu) or a click on a control button makes it focusable and active until
    the user goes to another window. A press of a snippet button while the bar has the focus
    only copies: the keys would come back to the bar. */
class PortalPaster final : public QObject, public Paster
{
    Q_OBJECT

public:
    /** Asks the portal, without waiting, for its version and devices. */
    PortalPaster();
    ~PortalPaster() override;

    Obstacle obstacle() const override;
    void setBar(QWidget &bar) override;
    void prepare(const QByteArray &grant) override;
    void release() override;
    void keyboardWanted() override;
    void pasteIntoPrevious() override;

private slots:
    void requestAnswered(uint response, const QVariantMap &results);
    void sessionClosed();

private:
    enum class Step { None, CreateSession, SelectDevices, Start, Started };
    void probed(QDBusPendingCallWatcher *call);
    /** Calls a portal method that answers through a request object. */
    void request(Step step, const QString &method, QVariantList arguments, QVariantMap options);
    void fail(Obstacle obstacle);
    void closeSession();
    void setFocusable(bool focusable);
    void pressKey(int keysym, bool down);
    void sendKey();

    bool m_probing = true;
    Obstacle m_obstacle = Obstacle::None;
    /** prepare() before the portal answered: the grant to start with then. */
    std::optional<QByteArray> m_waitingGrant;
    QByteArray m_grant;
    Step m_step = Step::None;
    QString m_requestPath;
    QString m_session;
    int m_requests = 0;
    QPointer<QWidget> m_bar;
    /** Keys not yet sent: keysym, and whether pressed. */
    QList<std::pair<int, bool>> m_keys;
};
