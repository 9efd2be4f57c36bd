#include "files/options.h"

#include <QByteArrayList>

#include <algorithm>

namespace options {

namespace {
const QByteArray clickPasteKey = QByteArrayLiteral("ClickPaste");
const QByteArray restoreTokenKey = QByteArrayLiteral("RestoreToken");

/** Whether `token` fits on its line and means the same read back. */
bool printable(const QByteArray &token)
{
    return std::all_of(token.begin(), token.end(), [](char c) { return c > ' ' && c < 0x7f; });
}
} // namespace

Options parse(const QByteArray &bytes)
{
    Options result;
    for (const QByteArray &line : bytes.split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals < 0)
            continue;
        const QByteArray key = line.left(equals).trimmed();
        const QByteArray value = line.mid(equals + 1).trimmed();
        if (key == clickPasteKey)
            result.clickPaste = value == "1";
        else if (key == restoreTokenKey && printable(value))
            result.restoreToken = value;
    }
    return result;
}

QByteArray encode(const Options &options)
{
    QByteArray bytes = clickPasteKey + '=' + (options.clickPaste ? '1' : '0') + '\n';
    if (!options.restoreToken.isEmpty() && printable(options.restoreToken))
        bytes += restoreTokenKey + '=' + options.restoreToken + '\n';
    return bytes;
}

} // namespace options
