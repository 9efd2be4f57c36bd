#pragma once

#include <QStringView>

/** Line splitting shared by the program's text files. */
namespace textlines {

/** Calls `onLine(QStringView)` for each line of `text`. A line ends at CR LF or at a lone
    CR; a lone LF is an ordinary character. A last line without a line end is still a line,
    but nothing after the final line end is. Returns early when `onLine` returns false. */
template <typename OnLine>
void forEach(QStringView text, OnLine &&onLine)
{
    qsizetype start = 0;
    const qsizetype size = text.size();
    while (start < size) {
        qsizetype end = text.indexOf(u'\r', start);
        if (end < 0)
            end = size;
        if (!onLine(text.mid(start, end - start)))
            return;
        start = end + 1;
        if (end < size && start < size && text[start] == u'\n')
            ++start;
    }
}

} // namespace textlines
