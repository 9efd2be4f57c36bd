#pragma once

/** Pasting into the window the user was typing in before the program's window became the
    active one. */
class Paster
{
public:
    virtual ~Paster() = default;

    /** Whether the session lets the program give other programs' windows the focus and
        keys. Decided at start-up; it does not change while the program runs. */
    virtual bool available() const = 0;
    /** Gives the focus back to the window that was active before the program's and pastes
        the clipboard there. Nothing happens when there was none, it has gone, or it pastes
        in a way the program does not know. Returns at once; the paste follows. */
    virtual void pasteIntoPrevious() = 0;
};
