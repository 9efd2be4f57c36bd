#pragma once

#include <QStringView>

/** What an arrow of a spin control does to the number in its text box. */
namespace spinstep {

struct Range
{
    int step = 1;
    int minimum = 0;
    int maximum = 0;
};

/** The number after one arrow click: the number the box shows (rounded to a whole one),
    or `fallback` when it shows none, moved one step up or down and kept within the range.
    A number outside the range steps from where it is and stops at the range's edge. */
int stepped(QStringView text, int fallback, const Range &range, bool up);

} // namespace spinstep
