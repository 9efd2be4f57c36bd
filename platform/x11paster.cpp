#include "platform/x11paster.h"

#include <QGuiApplication>
#include <QWindow>

// After Qt's headers: Xlib defines macros (None, Bool, KeyPress) that Qt's names would meet.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace {

/** A paste lands within half a second or not at all. */
constexpr int kGiveUpMilliseconds = 500;
constexpr int kPollMilliseconds = 10;
/** _NET_ACTIVE_WINDOW's source: a pager, which window managers treat as the user's own
    request instead of an application stealing the focus. */
constexpr std::uint32_t kSourcePager = 2;

struct FreeDeleter
{
    void operator()(void *p) const { std::free(p); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

} // namespace

X11Paster::X11Paster(bool reachable)
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!reachable || QGuiApplication::platformName() != u"xcb" || !x11)
        return;
    xcb_connection_t *connection = x11->connection();
    Display *display = x11->display();
    int event = 0, error = 0, major = 0, minor = 0;
    if (!connection || !display || !XTestQueryExtension(display, &event, &error, &major, &minor))
        return;
    m_connection = connection;
    m_display = display;
    m_root = Window(DefaultRootWindow(display));

    static const char name[] = "_NET_ACTIVE_WINDOW";
    Reply<xcb_intern_atom_reply_t> atom(xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 0, sizeof name - 1, name), nullptr));
    m_activeAtom = atom ? atom->atom : 0;

    // Changes of the root window's properties, added to whatever Qt listens to there.
    Reply<xcb_get_window_attributes_reply_t> attributes(xcb_get_window_attributes_reply(
            connection, xcb_get_window_attributes(connection, m_root), nullptr));
    const std::uint32_t mask = (attributes ? attributes->your_event_mask : 0)
            | XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(connection, m_root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);
    // Only a window the user goes to while the bar runs counts: not the one it was
    // started from.
    qGuiApp->installNativeEventFilter(this);

    m_poll.setInterval(kPollMilliseconds);
    connect(&m_poll, &QTimer::timeout, this, &X11Paster::waitForFocus);
}

X11Paster::~X11Paster()
{
    if (m_connection && qGuiApp)
        qGuiApp->removeNativeEventFilter(this);
}

bool X11Paster::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
        return false;
    const auto *change = reinterpret_cast<const xcb_property_notify_event_t *>(event);
    if (change->window == m_root && change->atom == m_activeAtom) {
        // The desktop itself (no window) counts too: a click there means the user left.
        const Window active = activeWindow();
        if (!isOwn(active))
            m_previous = active;
    }
    return false;
}

X11Paster::Window X11Paster::activeWindow() const
{
    Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
            m_connection,
            xcb_get_property(m_connection, 0, m_root, m_activeAtom, XCB_ATOM_WINDOW, 0, 1),
            nullptr));
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 4)
        return 0;
    return *static_cast<const Window *>(xcb_get_property_value(reply.get()));
}

bool X11Paster::isOwn(Window window) const
{
    const auto windows = QGuiApplication::allWindows();
    return std::any_of(windows.begin(), windows.end(), [window](const QWindow *own) {
        return own->handle() && own->winId() == window;
    });
}

std::optional<QByteArray> X11Paster::windowClass(Window window) const
{
    xcb_generic_error_t *error = nullptr;
    Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
            m_connection,
            xcb_get_property(m_connection, 0, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 64),
            &error));
    std::free(error);
    if (!reply)
        return std::nullopt;
    return QByteArray(static_cast<const char *>(xcb_get_property_value(reply.get())),
                      xcb_get_property_value_length(reply.get()));
}

bool X11Paster::modifierHeld() const
{
    Reply<xcb_query_pointer_reply_t> pointer(xcb_query_pointer_reply(
            m_connection, xcb_query_pointer(m_connection, m_root), nullptr));
    constexpr std::uint16_t modifiers = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL
            | XCB_MOD_MASK_1 | XCB_MOD_MASK_4;
    return pointer && (pointer->mask & modifiers);
}

void X11Paster::pasteIntoPrevious()
{
    m_poll.stop();
    if (!m_connection || !m_previous)
        return;
    const std::optional<QByteArray> wmClass = windowClass(m_previous);
    if (!wmClass) { // closed since
        m_previous = 0;
        return;
    }
    m_keys = pastekeys::forWindowClass(*wmClass);
    if (m_keys == pastekeys::Keys::LeaveAlone)
        return;
    m_target = m_previous;
    activate(m_target);
    m_waiting.start();
    m_poll.start();
}

void X11Paster::activate(Window window)
{
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = m_activeAtom;
    message.data.data32[0] = kSourcePager;
    message.data.data32[1] = XCB_CURRENT_TIME;
    message.data.data32[2] = activeWindow();
    xcb_send_event(m_connection, 0, m_root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&message));
    xcb_flush(m_connection);
}

void X11Paster::waitForFocus()
{
    if (m_waiting.elapsed() > kGiveUpMilliseconds) {
        m_poll.stop();
        return;
    }
    if (activeWindow() != m_target)
        return;
    // The keyboard's focus must have left the bar too, and a Shift still held from the
    // click would make the keys another command.
    Reply<xcb_get_input_focus_reply_t> focus(xcb_get_input_focus_reply(
            m_connection, xcb_get_input_focus(m_connection), nullptr));
    if (!focus || isOwn(focus->focus) || modifierHeld())
        return;
    m_poll.stop();
    typeKeys(m_keys);
}

void X11Paster::typeKeys(pastekeys::Keys keys)
{
    const auto code = [this](KeySym symbol) { return XKeysymToKeycode(m_display, symbol); };
    QList<unsigned> held{code(XK_Control_L)};
    if (keys == pastekeys::Keys::ControlShiftV)
        held.append(code(XK_Shift_L));
    const unsigned v = code(XK_v);
    if (v == 0 || held.contains(0u))
        return;
    for (const unsigned key : held)
        XTestFakeKeyEvent(m_display, key, True, CurrentTime);
    XTestFakeKeyEvent(m_display, v, True, CurrentTime);
    XTestFakeKeyEvent(m_display, v, False, CurrentTime);
    for (auto key = held.crbegin(); key != held.crend(); ++key)
        XTestFakeKeyEvent(m_display, *key, False, CurrentTime);
    XFlush(m_display);
}
