// Renders the program's SVG icon at build time, for each size as a PNG file (installed for the
// desktop) and as raw RGBA pixels (carried inside the program). Raw pixels need no image
// reader at start-up: Qt's reader loads every installed image plugin before it reads even a
// PNG, and every start would pay for that.
// The icon is drawn from rounded rectangles only, so this reads them itself and paints them
// with QPainter: the build needs no SVG plugin, whose package differs between Debian releases.
// Any other SVG element is refused rather than left out of the picture.
// Usage: rendericon ICON.svg OUTPUT_DIR SIZE...
//        (writes OUTPUT_DIR/snipdeck-SIZE.png and OUTPUT_DIR/snipdeck-SIZE.rgba)

#include <QColor>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QXmlStreamReader>

#include <cstdio>
#include <optional>

namespace {

struct Rect
{
    QRectF box;
    qreal radius = 0;
    QColor fill;
    QColor stroke;
    qreal strokeWidth = 1;
};

struct Icon
{
    QSizeF viewBox;
    QList<Rect> rects;
};

std::optional<Icon> readIcon(const QString &path, QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return std::nullopt;
    }
    Icon icon;
    QXmlStreamReader xml(&file);
    const auto text = [&](const char *name) { return xml.attributes().value(QLatin1String(name)); };
    const auto number = [&](const char *name, qreal fallback) {
        const auto value = text(name);
        return value.isEmpty() ? fallback : value.toDouble();
    };
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"svg") {
            const auto box = text("viewBox").split(u' ');
            if (box.size() == 4)
                icon.viewBox = QSizeF(box.at(2).toDouble(), box.at(3).toDouble());
        } else if (xml.name() == u"rect") {
            Rect rect;
            rect.box = QRectF(number("x", 0), number("y", 0), number("width", 0),
                              number("height", 0));
            rect.radius = number("rx", 0);
            rect.fill = QColor(text("fill"));
            rect.stroke = QColor(text("stroke"));
            rect.strokeWidth = number("stroke-width", 1);
            icon.rects.append(rect);
        } else {
            error = QStringLiteral("unsupported element <%1>").arg(xml.name());
            return std::nullopt;
        }
    }
    if (xml.hasError() || icon.viewBox.isEmpty()) {
        error = xml.hasError() ? xml.errorString() : QStringLiteral("no viewBox");
        return std::nullopt;
    }
    return icon;
}

QImage render(const Icon &icon, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / icon.viewBox.width(), size / icon.viewBox.height());
    for (const Rect &rect : icon.rects) {
        painter.setBrush(rect.fill.isValid() ? QBrush(rect.fill) : QBrush(Qt::NoBrush));
        painter.setPen(rect.stroke.isValid() ? QPen(rect.stroke, rect.strokeWidth) : QPen(Qt::NoPen));
        painter.drawRoundedRect(rect.box, rect.radius, rect.radius);
    }
    return image;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 4) {
        std::fputs("usage: rendericon ICON.svg OUTPUT_DIR SIZE...\n", stderr);
        return 2;
    }
    QString error;
    const std::optional<Icon> icon = readIcon(args.at(1), error);
    if (!icon) {
        std::fprintf(stderr, "rendericon: cannot render %s (%s)\n", qPrintable(args.at(1)),
                     qPrintable(error));
        return 1;
    }
    const QDir output(args.at(2));
    for (qsizetype i = 3; i < args.size(); ++i) {
        bool ok = false;
        const int size = args.at(i).toInt(&ok);
        if (!ok || size <= 0) {
            std::fprintf(stderr, "rendericon: bad size '%s'\n", qPrintable(args.at(i)));
            return 2;
        }
        const QImage image = render(*icon, size);
        const QString name = QStringLiteral("snipdeck-%1").arg(size);
        const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
        const auto write = [&](const QString &suffix, const auto &writeTo) {
            // Replaced whole: a parallel build may run two of these at once.
            QSaveFile out(output.filePath(name + suffix));
            if (out.open(QIODevice::WriteOnly) && writeTo(out) && out.commit())
                return true;
            std::fprintf(stderr, "rendericon: cannot write %s\n", qPrintable(out.fileName()));
            return false;
        };
        const bool written =
                write(QStringLiteral(".png"),
                      [&](QSaveFile &out) { return image.save(&out, "PNG"); })
                && write(QStringLiteral(".rgba"), [&](QSaveFile &out) {
                       for (int y = 0; y < rgba.height(); ++y) {
                           const auto line = reinterpret_cast<const char *>(rgba.constScanLine(y));
                           if (out.write(line, qint64(rgba.width()) * 4) != rgba.width() * 4)
                               return false;
                       }
                       return true;
                   });
        if (!written)
            return 1;
    }
    return 0;
}
