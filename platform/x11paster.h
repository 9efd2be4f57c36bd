#pragma once

#include "platform/pastekeys.h"
#include "platform/paster.h"

#include <QAbstractNativeEventFilter>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <cstdint>
#include <optional>

struct _XDisplay;
struct _XkbDesc;
struct xcb_connection_t;

/** Pasting on an X11 desktop. The program follows which window the window manager makes
    active (the root window's _NET_ACTIVE_WINDOW) and remembers the last one that is not its
    own. A paste asks the window manager to activate that window again, waits until it has
    the focus and no modifier, Enter or Space key is held, and types the paste keys into it
    through the XTest extension. The keys are looked up in the keyboard map the server has
    at that moment, in the keyboard group in force: the user may have switched the layout
    since the program started. A layout without a V gets one on a key no layout uses, for
    as long as the program runs. A window that does not get the focus in time gets no keys. */
class X11Paster final : public QObject, public Paster, public QAbstractNativeEventFilter
{
public:
    /** `reachable`: the other programs' windows are X clients, as they are outside a
        Wayland session. Pasting is available when they are, the program runs on the xcb
        platform and the X server has XTest. */
    explicit X11Paster(bool reachable);
    ~X11Paster() override;

    Obstacle obstacle() const override
    {
        return m_connection ? Obstacle::None : Obstacle::Unreachable;
    }
    void pasteIntoPrevious() override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    using Window = std::uint32_t;
    Window activeWindow() const;
    bool isOwn(Window window) const;
    /** The window's WM_CLASS; nothing when the window is gone. */
    std::optional<QByteArray> windowClass(Window window) const;
    /** A key that would change the paste keys, or whose repeat or release would follow them
        into the other window, is down: a modifier (AltGr too), Enter or Space. */
    bool keyHeld() const;
    void activate(Window window);
    void waitForFocus();
    void typeKeys(pastekeys::Keys keys);
    /** A key no layout uses, made to type V; 0 when there is none. */
    unsigned bindSpareKey(_XkbDesc *keymap);

    xcb_connection_t *m_connection = nullptr;
    _XDisplay *m_display = nullptr;
    Window m_root = 0;
    std::uint32_t m_activeAtom = 0;
    Window m_previous = 0;

    // The paste under way.
    Window m_target = 0;
    pastekeys::Keys m_keys = pastekeys::Keys::LeaveAlone;
    QElapsedTimer m_waiting;
    QTimer m_poll;
    /** The keys to be let go before the paste: key codes as a bit set of 256. */
    QByteArray m_mustBeUp;
    /** The key the program made type V; given back when the program ends. */
    unsigned m_boundKey = 0;
};
