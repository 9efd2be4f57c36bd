// Renders the program's SVG icon at build time, for each size as a PNG file (installed for the
// desktop) and as raw RGBA pixels (carried inside the program). Raw pixels need no image
// reader at start-up: Qt's reader loads every installed image plugin, QtSvg included, before
// it reads even a PNG, and every start would pay for that.
// Usage: rendericon ICON.svg OUTPUT_DIR SIZE...
//        (writes OUTPUT_DIR/snipdeck-SIZE.png and OUTPUT_DIR/snipdeck-SIZE.rgba)

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QSaveFile>

#include <cstdio>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 4) {
        std::fputs("usage: rendericon ICON.svg OUTPUT_DIR SIZE...\n", stderr);
        return 2;
    }
    const QDir output(args.at(2));
    for (qsizetype i = 3; i < args.size(); ++i) {
        bool ok = false;
        const int size = args.at(i).toInt(&ok);
        if (!ok || size <= 0) {
            std::fprintf(stderr, "rendericon: bad size '%s'\n", qPrintable(args.at(i)));
            return 2;
        }
        QImageReader reader(args.at(1));
        reader.setScaledSize(QSize(size, size));
        const QImage image = reader.read();
        if (image.isNull()) {
            std::fprintf(stderr, "rendericon: cannot render %s (%s); Qt's SVG image plugin "
                                 "comes with the package libqt6svg6\n",
                         qPrintable(args.at(1)), qPrintable(reader.errorString()));
            return 1;
        }
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
