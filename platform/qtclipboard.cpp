#include "platform/qtclipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {
QClipboard *clipboard()
{
    return QGuiApplication::clipboard();
}
} // namespace

void QtClipboard::clear()
{
    clipboard()->clear(QClipboard::Clipboard);
}

void QtClipboard::putText(const QString &text)
{
    // setText() replaces every format the clipboard held, so the text is its only content.
    clipboard()->setText(text, QClipboard::Clipboard);
}

bool QtClipboard::hasText() const
{
    const QMimeData *data = clipboard()->mimeData(QClipboard::Clipboard);
    return data && data->hasText();
}

QString QtClipboard::text() const
{
    return clipboard()->text(QClipboard::Clipboard);
}
