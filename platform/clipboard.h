#pragma once

#include <QString>

/** The system clipboard in its plain-text form. */
class Clipboard
{
public:
    virtual ~Clipboard() = default;

    /** Removes whatever the clipboard holds. */
    virtual void clear() = 0;
    /** Makes `text` the clipboard's only content, every line ended by LF alone: terminals,
        editors and browsers here take a CR for part of the line. */
    void setText(const QString &text);
    /** Whether the clipboard holds text (possibly the empty text). */
    virtual bool hasText() const = 0;
    /** The clipboard's text as it is there; empty when it holds none. */
    virtual QString text() const = 0;

protected:
    /** Puts `text` on the clipboard as it is. */
    virtual void putText(const QString &text) = 0;
};
