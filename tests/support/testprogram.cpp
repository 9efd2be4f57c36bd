#include "testprogram.h"

#include <QListWidget>

const QStringList TestProgram::defaultNumbers = {"14", "240", "2400", "0", "0", "1500", "1500", "0"};

TestProgram::TestProgram()
    : program({clipboard, boxes, fileDialogs, windowOrder, launcher, paster}, dir.path(),
              [this] { ++endProcessCalls; })
{
    program.session().autostart = {path(QStringLiteral("config/autostart")), QStringLiteral("/usr/bin/snipdeck")};
    // The journals of saves in place, which start-up reads, are the test's own.
    qputenv("XDG_CACHE_HOME", QFile::encodeName(path(QStringLiteral("cache"))));
}

QString TestProgram::startOn(const QString &clipFile)
{
    writeStartIni(defaultNumbers, {clipFile});
    start();
    return clipFile;
}

QString TestProgram::writeBytes(const QString &name, const QByteArray &bytes) const
{
    QFile file(path(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write test file %s", qPrintable(name));
    return file.fileName();
}

QString TestProgram::writeShiftJis(const QString &name, const QString &text) const
{
    const auto bytes = sjis::encode(text);
    if (!bytes)
        qFatal("test text for %s is not Shift-JIS", qPrintable(name));
    return writeBytes(name, *bytes);
}

QString TestProgram::writeStartIni(const QStringList &numberLines, const QStringList &paths) const
{
    return writeShiftJis(QStringLiteral("Start.ini"), (numberLines + paths).join("\r\n") + "\r\n");
}

QByteArray TestProgram::readBytes(const QString &name) const
{
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList TestProgram::messages() const
{
    QStringList texts;
    for (const auto &box : boxes.shown)
        texts.append(box.text);
    return texts;
}

QStringList itemTexts(const QListWidget &list)
{
    QStringList texts;
    for (int i = 0; i < list.count(); ++i)
        texts.append(list.item(i)->text());
    return texts;
}
