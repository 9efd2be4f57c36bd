#include "files/startini.h"

#include "app/barlayout.h"
#include "app/numbers.h"
#include "files/textlines.h"
#include "platform/sjiscodec.h"

#include <cmath>

namespace startini {

namespace {

constexpr int kNumberLines = 8;

void readInt(const QStringList &lines, int index, int *target)
{
    if (index < lines.size()) {
        if (const auto value = numbers::parseInt16(lines.at(index)))
            *target = *value;
    }
}

void readPosition(const QStringList &lines, int index, std::optional<double> *target)
{
    if (index < lines.size()) {
        if (const auto value = numbers::parseDecimal(lines.at(index))) {
            // Single precision, as the window position was saved.
            const auto single = static_cast<float>(*value);
            if (std::isfinite(single))
                *target = static_cast<double>(single);
        }
    }
}

} // namespace

StartSettings parse(QStringView text)
{
    StartSettings settings;
    QStringList numberLines;
    textlines::forEach(text, [&](QStringView line) {
        if (numberLines.size() < kNumberLines)
            numberLines.append(line.toString());
        else if (!line.isEmpty())
            settings.paths.append(line.toString());
        return true;
    });

    readInt(numberLines, 0, &settings.buttonNum);
    readInt(numberLines, 1, &settings.buttonHeight);
    readInt(numberLines, 2, &settings.buttonWidth);
    readInt(numberLines, 3, &settings.winZ);
    readInt(numberLines, 4, &settings.controlShowFlag);
    readPosition(numberLines, 5, &settings.top);
    readPosition(numberLines, 6, &settings.left);
    readInt(numberLines, 7, &settings.savedIndex);

    settings.buttonNum = std::min(settings.buttonNum, maxButtonNum);

    const StartSettings defaults;
    const bool hidden = settings.controlShowFlag == 1;
    if (!barlayout::fits(settings.buttonWidth, settings.buttonNum, settings.buttonHeight, hidden)) {
        settings.buttonHeight = defaults.buttonHeight;
        settings.buttonWidth = defaults.buttonWidth;
    }
    return settings;
}

QString formatNumber(double value)
{
    QString digits;
    if (value == std::floor(value) && std::fabs(value) < 1e15)
        digits = QString::number(static_cast<qint64>(value));
    else
        digits = QString::number(value, 'g', 7);
    if (!digits.startsWith(u'-'))
        digits.prepend(u' ');
    digits.append(u' ');
    return digits;
}

Encoded encode(const StartSettings &settings)
{
    Encoded result;
    int index = settings.savedIndex;
    QList<QByteArray> encodedPaths;
    for (int i = 0; i < settings.paths.size(); ++i) {
        const QString &path = settings.paths.at(i);
        auto bytes = sjis::encode(path);
        if (!bytes) {
            result.leftOut.append(path);
            if (i < settings.savedIndex)
                --index;
            else if (i == settings.savedIndex)
                index = -1;
            continue;
        }
        encodedPaths.append(std::move(*bytes));
    }

    const double numbersToWrite[] = {
        double(settings.buttonNum), double(settings.buttonHeight), double(settings.buttonWidth),
        double(settings.winZ), double(settings.controlShowFlag),
        settings.top.value_or(0.0), settings.left.value_or(0.0), double(index),
    };
    for (const double value : numbersToWrite) {
        result.bytes.append(formatNumber(value).toLatin1());
        result.bytes.append("\r\n");
    }
    for (const QByteArray &path : encodedPaths) {
        result.bytes.append(path);
        result.bytes.append("\r\n");
    }
    return result;
}

int resolveIndex(int savedIndex, const QList<bool> &exists)
{
    int missing = 0;
    int kept = 0;
    for (int position = 0; position < exists.size(); ++position) {
        if (exists.at(position)) {
            ++kept;
        } else if (position <= savedIndex) {
            ++missing;
        }
    }
    const int index = savedIndex - missing;
    if (index < -1 || index >= kept)
        return -1;
    return index;
}

} // namespace startini
