#pragma once

#include <QByteArray>

#include <functional>

class QWidget;

/** Pasting into the window the user was typing in before they pressed a snippet button. */
class Paster
{
public:
    /** What keeps a paste from reaching the other window. */
    enum class Obstacle {
        None,
        Unreachable, ///< a Wayland session whose desktop offers no remote keyboard
        OldDesktop,  ///< the desktop's remote keyboard cannot keep the user's consent
        Refused,     ///< the user, or the desktop, turned the request down
        NoPasteKey,  ///< no key types V in the keyboard map, and none could be made to
    };

    virtual ~Paster() = default;

    /** What keeps pasting from working now; None when it can be turned on. */
    virtual Obstacle obstacle() const = 0;
    bool available() const { return obstacle() == Obstacle::None; }
    /** The bar's window, whose way of taking the keyboard focus the paste may depend on. */
    virtual void setBar(QWidget &) {}
    /** Readies pasting when the user turns it on, or at start-up when it is on. The desktop
        may ask the user's consent, once: `grant` is what an earlier consent left (empty for
        none). The answer comes later through granted or failed. */
    virtual void prepare(const QByteArray &grant) { (void)grant; }
    /** Pasting turned off. */
    virtual void release() {}
    /** The user gives the bar the keyboard on purpose: its menu, a control button. */
    virtual void keyboardWanted() {}
    /** Gives the focus back to the window that was active before the program's and pastes
        the clipboard there. Nothing happens when there was none, it has gone, or it pastes
        in a way the program does not know. Returns at once; the paste follows. */
    virtual void pasteIntoPrevious() = 0;

    /** Set by the program: the desktop's consent, with what to keep for the next start. */
    std::function<void(const QByteArray &grant)> granted;
    /** Set by the program: pasting could not be readied, or a paste could not be made. */
    std::function<void(Obstacle)> failed;
};
