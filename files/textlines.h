#pragma once

#include <QStringView>

#include <algorithm>

/** Line splitting shared by the program's text files. */
namespace textlines {

/** What a line feed without a carriage return before it is. */
enum class LoneLf {
    Text,    ///< an ordinary character: Start.ini, whose paths may hold one
    LineEnd, ///< a line end, as Linux editors write them: clip data files
};

/** Calls `onLine(QStringView)` for each line of `text`. A line ends at CR LF or at a lone
    CR, and at a lone LF when `loneLf` says so. A last line without a line end is still a
    line, but nothing after the final line end is. Returns early when `onLine` returns
    false. */
template <typename OnLine>
void forEach(QStringView text, OnLine &&onLine, LoneLf loneLf = LoneLf::Text)
{
    qsizetype start = 0;
    const qsizetype size = text.size();
    qsizetype cr = -1;
    qsizetype lf = loneLf == LoneLf::LineEnd ? -1 : size;
    while (start < size) {
        if (cr < start && (cr = text.indexOf(u'\r', start)) < 0)
            cr = size;
        if (lf < start && (lf = text.indexOf(u'\n', start)) < 0)
            lf = size;
        const qsizetype end = std::min(cr, lf);
        if (!onLine(text.mid(start, end - start)))
            return;
        start = end + 1;
        if (end == cr && start < size && text[start] == u'\n')
            ++start;
    }
}

} // namespace textlines
