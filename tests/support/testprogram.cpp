#include "testprogram.h"

#include "platform/sjiscodec.h"

#include <QFile>
#include <QListWidget>

TestProgram::TestProgram()
    : program({clipboard, boxes, fileDialogs, windowOrder, launcher}, dir.path(),
              [this] { ++endProcessCalls; })
{
}

void TestProgram::start()
{
    program.start();
}

QString TestProgram::path(const QString &name) const
{
    return dir.filePath(name);
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

QStringList itemTexts(const QListWidget &list)
{
    QStringList texts;
    for (int i = 0; i < list.count(); ++i)
        texts.append(list.item(i)->text());
    return texts;
}

const QStringList TestProgram::defaultNumbers = {"14", "240", "2400", "0", "0", "1500", "1500", "0"};

void TestProgram::startOn(const QString &clipFile)
{
    writeStartIni(defaultNumbers, {clipFile});
    start();
}

QString TestProgram::writeStartIni(const QStringList &numberLines, const QStringList &paths) const
{
    QString text;
    for (const QString &line : numberLines + paths)
        text += line + QStringLiteral("\r\n");
    return writeShiftJis(QStringLiteral("Start.ini"), text);
}

QByteArray TestProgram::readBytes(const QString &name) const
{
    QFile file(path(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QStringList TestProgram::messages() const
{
    QStringList texts;
    for (const auto &box : boxes.shown)
        texts.append(box.text);
    return texts;
}
