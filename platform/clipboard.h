#pragma once

#include <QString>

/** The system clipboard in its plain-text form. */
class Clipboard
{
public:
    virtual ~Clipboard() = default;

    /** Removes whatever the clipboard holds. */
    virtual void clear() = 0;
    /** Makes `text` the clipboard's only content. */
    virtual void setText(const QString &text) = 0;
    /** Whether the clipboard holds text (possibly the empty text). */
    virtual bool hasText() const = 0;
    /** The clipboard's text; empty when it holds none. */
    virtual QString text() const = 0;
};
