#include "app/barlayout.h"

#include "app/numbers.h"

#include <algorithm>

namespace barlayout {

std::optional<Layout> compute(int width, int count, int height, bool controlsHidden)
{
    Layout layout;
    layout.buttonWidth = width;
    layout.buttonNum = count >= 1 ? count : defaultButtonNum;
    layout.buttonHeight = height;
    layout.controlsShown = !controlsHidden;

    if (layout.buttonNum > snippetButtons || width < 0 || height < 0)
        return std::nullopt;
    if (!numbers::fitsInt16(double(width) + frameWidth))
        return std::nullopt;

    // Positions are 16-bit values; a bar that would reach beyond them cannot be shown.
    const auto fits = [](long long twips) { return twips <= numbers::int16Max; };
    long long bottom = 0;
    for (int i = 0; i < layout.buttonNum; ++i) {
        const long long top = static_cast<long long>(i) * height;
        if (!fits(top))
            return std::nullopt;
        layout.snippetTops.append(static_cast<int>(top));
        bottom = top + height;
    }
    const long long lastTop = layout.snippetTops.last();
    if (layout.controlsShown) {
        for (int j = 0; j < controlButtons; ++j) {
            const long long top = lastTop + height + controlGap + static_cast<long long>(j) * height;
            if (!fits(top))
                return std::nullopt;
            layout.controlTops[j] = static_cast<int>(top);
        }
        bottom = layout.controlTops.back() + static_cast<long long>(height);
    }
    if (!fits(bottom + frameHeight))
        return std::nullopt;
    layout.windowHeight = static_cast<double>(bottom + frameHeight);
    layout.windowWidth = width + frameWidth;
    return layout;
}

ButtonSize fromWindowSize(double outerWidth, double outerHeight, int buttonNum,
                          bool controlsHidden)
{
    const double w = numbers::roundHalfEven(outerWidth - frameWidth);
    const double a = numbers::roundHalfEven(outerHeight - frameHeight);
    double h = 0;
    if (controlsHidden) {
        h = a / std::max(buttonNum, 1);
    } else {
        const double room = a <= controlGap ? 0.0 : a - controlGap;
        h = room / (buttonNum + controlButtons);
    }
    return {static_cast<int>(std::clamp(w, double(numbers::int16Min), double(numbers::int16Max))),
            static_cast<int>(std::clamp(numbers::roundHalfEven(h), double(numbers::int16Min),
                                        double(numbers::int16Max)))};
}

int toPixels(double twips)
{
    return static_cast<int>(numbers::roundHalfEven(twips / twipsPerPixel));
}

} // namespace barlayout
