#include "platform/clipboard.h"

void Clipboard::setText(const QString &text)
{
    if (!text.contains(u'\r')) {
        putText(text);
        return;
    }
    // CR LF and a lone CR alike end a line.
    QString lf;
    lf.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r') {
            lf.append(text[i]);
            continue;
        }
        lf.append(u'\n');
        if (i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
    }
    putText(lf);
}
