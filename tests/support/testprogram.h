#pragma once

#include "app/program.h"
#include "fakeservices.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class QListWidget;

/** The texts of a list's rows, top to bottom. */
QStringList itemTexts(const QListWidget &list);

/** A whole fresh program with fake services in a temporary working directory:
    `TestProgram t; t.start();`. */
class TestProgram
{
public:
    TestProgram();

    /** Runs start-up as the executable does (load handler, then show). */
    void start();
    /** Starts on one clip file (a path from writeShiftJis() or writeBytes()): a Start.ini
        with the default numbers lists it as the file in use. */
    void startOn(const QString &clipFile);

    /** Start.ini's eight number lines: 14 buttons of 240 × 2400 twips at (1500, 1500), not
        on top, control buttons shown, the first listed file in use. */
    static const QStringList defaultNumbers;

    /** A path inside the working directory. */
    QString path(const QString &name) const;
    /** Writes bytes to a file in the working directory and returns its path. */
    QString writeBytes(const QString &name, const QByteArray &bytes) const;
    /** Writes a text (CR LF line ends are the caller's) in Shift-JIS and returns its path. */
    QString writeShiftJis(const QString &name, const QString &text) const;
    /** Writes Start.ini: the eight number lines, then the paths, all ended by CR LF. */
    QString writeStartIni(const QStringList &numberLines, const QStringList &paths = {}) const;
    /** Reads a file of the working directory. */
    QByteArray readBytes(const QString &name) const;

    /** The texts of the message boxes shown so far. */
    QStringList messages() const;

    QTemporaryDir dir;
    FakeClipboard clipboard;
    FakeMessageBoxes boxes;
    FakeFileDialogs fileDialogs;
    FakeWindowOrder windowOrder;
    FakeLauncher launcher;
    int endProcessCalls = 0;
    Program program;
};
