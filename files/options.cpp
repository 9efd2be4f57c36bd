#include "files/options.h"

#include <QByteArrayList>

namespace options {

namespace {
const QByteArray clickPasteKey = QByteArrayLiteral("ClickPaste");
} // namespace

Options parse(const QByteArray &bytes)
{
    Options result;
    for (const QByteArray &line : bytes.split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals >= 0 && line.left(equals).trimmed() == clickPasteKey)
            result.clickPaste = line.mid(equals + 1).trimmed() == "1";
    }
    return result;
}

QByteArray encode(const Options &options)
{
    return clickPasteKey + '=' + (options.clickPaste ? '1' : '0') + '\n';
}

} // namespace options
