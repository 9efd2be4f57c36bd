#include "platform/x11paster.h"

#include <QGuiApplication>
#include <QWindow>

// After Qt's headers: Xlib defines macros (None, Bool, KeyPress) that Qt's names would meet.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace {

/** The other window gets the focus within half a second, or no paste. */
constexpr int kFocusGiveUpMilliseconds = 500;
/** The user lets go of Enter, Space or a modifier within two seconds, or no paste. */
constexpr int kKeysGiveUpMilliseconds = 2000;
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

struct KeymapDeleter
{
    void operator()(XkbDescPtr keymap) const { XkbFreeKeyboard(keymap, 0, True); }
};
using Keymap = std::unique_ptr<XkbDescRec, KeymapDeleter>;

/** The keyboard map the server has now. Xlib's own copy (XKeysymToKeycode) is read once and
    never brought up to date: Qt reads the events that would tell it of a new layout. */
Keymap currentKeymap(Display *display)
{
    return Keymap(XkbGetMap(display, XkbKeySymsMask | XkbModifierMapMask, XkbUseCoreKbd));
}

/** The keyboard group (layout) in force. */
int currentGroup(Display *display)
{
    XkbStateRec state{};
    return XkbGetState(display, XkbUseCoreKbd, &state) == Success ? state.group : 0;
}

/** The symbol a key types without Shift in `group`, mapped into the key's own groups as the
    server does it. */
KeySym symbolOf(XkbDescPtr keymap, unsigned code, int group)
{
    const int groups = XkbKeyNumGroups(keymap, code);
    if (groups == 0)
        return NoSymbol;
    if (group >= groups) {
        const unsigned char info = XkbKeyGroupInfo(keymap, code);
        switch (XkbOutOfRangeGroupAction(info)) {
        case XkbClampIntoRange:
            group = groups - 1;
            break;
        case XkbRedirectIntoRange:
            group = XkbOutOfRangeGroupNumber(info) < groups ? XkbOutOfRangeGroupNumber(info) : 0;
            break;
        default:
            group %= groups;
        }
    }
    return XkbKeySymEntry(keymap, code, 0, group);
}

/** The first key that types `symbol` in `group`, and, when `modifier` is given, also sets
    that modifier; 0 when there is none. */
unsigned keyFor(XkbDescPtr keymap, int group, KeySym symbol, unsigned modifier = 0)
{
    for (unsigned code = keymap->min_key_code; code <= keymap->max_key_code; ++code) {
        if (symbolOf(keymap, code, group) == symbol
            && (!modifier || (keymap->map->modmap[code] & modifier)))
            return code;
    }
    return 0;
}

/** A key that sets `modifier` (Control, Shift), its left one first. */
unsigned modifierKey(XkbDescPtr keymap, int group, unsigned modifier, KeySym left, KeySym right)
{
    if (const unsigned code = keyFor(keymap, group, left, modifier))
        return code;
    return keyFor(keymap, group, right, modifier);
}

} // namespace

X11Paster::X11Paster(bool reachable)
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!reachable || QGuiApplication::platformName() != u"xcb" || !x11)
        return;
    xcb_connection_t *connection = x11->connection();
    Display *display = x11->display();
    int event = 0, error = 0, major = 0, minor = 0, opcode = 0;
    if (!connection || !display || !XTestQueryExtension(display, &event, &error, &major, &minor))
        return;
    major = XkbMajorVersion;
    minor = XkbMinorVersion;
    if (!XkbQueryExtension(display, &opcode, &event, &error, &major, &minor))
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
    if (!m_connection)
        return;
    if (qGuiApp)
        qGuiApp->removeNativeEventFilter(this);
    // The key made to type V goes back to typing nothing, unless a new layout has since
    // given it a meaning of its own.
    const Keymap keymap = currentKeymap(m_display);
    if (m_boundKey && keymap && symbolOf(keymap.get(), m_boundKey, 0) == XK_v) {
        KeySym nothing[] = {NoSymbol, NoSymbol};
        // Sent when Qt closes the display, after this.
        XChangeKeyboardMapping(m_display, int(m_boundKey), 2, nothing, 1);
    }
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
    if (!reply)
        return 0;
    return pastekeys::activeWindow(
            reply->type, reply->format,
            QByteArray(static_cast<const char *>(xcb_get_property_value(reply.get())),
                       xcb_get_property_value_length(reply.get())));
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

bool X11Paster::keyHeld() const
{
    Reply<xcb_query_keymap_reply_t> keys(
            xcb_query_keymap_reply(m_connection, xcb_query_keymap(m_connection), nullptr));
    if (!keys)
        return true;
    for (int i = 0; i < 32; ++i) {
        if (keys->keys[i] & std::uint8_t(m_mustBeUp.at(i)))
            return true;
    }
    return false;
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
    // The keys to wait for, in the layout in force: every key that sets a modifier (AltGr,
    // the level 3 and 5 shifts, Mode_switch too), Enter and Space.
    m_mustBeUp.fill('\0', 32);
    if (const Keymap keymap = currentKeymap(m_display)) {
        const int group = currentGroup(m_display);
        for (unsigned code = keymap->min_key_code; code <= keymap->max_key_code; ++code) {
            const KeySym symbol = symbolOf(keymap.get(), code, group);
            if (keymap->map->modmap[code] || IsModifierKey(symbol) || symbol == XK_Return
                || symbol == XK_KP_Enter || symbol == XK_space)
                m_mustBeUp[code / 8] = char(m_mustBeUp.at(code / 8) | (1 << (code % 8)));
        }
    }
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
    // The keyboard's focus must have left the bar too. A modifier still held from the click
    // would make the keys another command; the Enter or Space that pressed the button would
    // repeat, or be let go, in the other window.
    bool focused = activeWindow() == m_target;
    if (focused) {
        Reply<xcb_get_input_focus_reply_t> focus(xcb_get_input_focus_reply(
                m_connection, xcb_get_input_focus(m_connection), nullptr));
        focused = focus && !isOwn(focus->focus);
    }
    if (focused && !keyHeld()) {
        m_poll.stop();
        typeKeys(m_keys);
    } else if (m_waiting.elapsed() > (focused ? kKeysGiveUpMilliseconds : kFocusGiveUpMilliseconds)) {
        m_poll.stop();
    }
}

unsigned X11Paster::bindSpareKey(XkbDescPtr keymap)
{
    // From the top: the lowest codes are the keys every keyboard has.
    for (unsigned code = keymap->max_key_code; code > keymap->min_key_code; --code) {
        if (XkbKeyNumGroups(keymap, code) != 0)
            continue;
        KeySym v[] = {XK_v, XK_V};
        XChangeKeyboardMapping(m_display, int(code), 2, v, 1);
        XSync(m_display, False);
        m_boundKey = code;
        return code;
    }
    return 0;
}

void X11Paster::typeKeys(pastekeys::Keys keys)
{
    const Keymap keymap = currentKeymap(m_display);
    if (!keymap)
        return;
    const int group = currentGroup(m_display);
    QList<unsigned> held{modifierKey(keymap.get(), group, ControlMask, XK_Control_L, XK_Control_R)};
    if (keys == pastekeys::Keys::ControlShiftV)
        held.append(modifierKey(keymap.get(), group, ShiftMask, XK_Shift_L, XK_Shift_R));
    unsigned v = keyFor(keymap.get(), group, XK_v);
    if (v == 0)
        v = bindSpareKey(keymap.get());
    // Any other key would be some other command in the other window.
    if (v == 0 || held.contains(0u)) {
        if (failed)
            failed(Obstacle::NoPasteKey);
        return;
    }
    for (const unsigned key : held)
        XTestFakeKeyEvent(m_display, key, True, CurrentTime);
    XTestFakeKeyEvent(m_display, v, True, CurrentTime);
    XTestFakeKeyEvent(m_display, v, False, CurrentTime);
    for (auto key = held.crbegin(); key != held.crend(); ++key)
        XTestFakeKeyEvent(m_display, *key, False, CurrentTime);
    XFlush(m_display);
}
