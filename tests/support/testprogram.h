#pragma once

#include "app/program.h"
#include "fakeservices.h"

// The windows and their texts, and the Qt controls a test drives them through.
#include "app/form1.h"
#include "app/form1text.h"
#include "app/twips.h"
#include "dialogs/form2.h"
#include "dialogs/form4.h"
#include "editing/form5.h"
#include "editing/form5text.h"
#include "editing/form6.h"
#include "editing/frmmenu.h"
#include "editing/frmmenutext.h"
#include "files/form3.h"
#include "platform/sjiscodec.h"

#include <QByteArray>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

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
    void start() { program.start(); }
    /** Starts with a Start.ini of the default numbers that lists only `clipFile`; returns it. */
    QString startOn(const QString &clipFile);

    /** 14 buttons of 240 × 2400 twips at (1500, 1500), not on top, control buttons shown,
        the first listed file in use. */
    static const QStringList defaultNumbers;

    QString path(const QString &name) const { return dir.filePath(name); }
    /** These write a file of the working directory and return its path. */
    QString writeBytes(const QString &name, const QByteArray &bytes) const;
    QString writeShiftJis(const QString &name, const QString &text) const;
    /** Start.ini: the eight number lines, then the paths, each ended by CR LF. */
    QString writeStartIni(const QStringList &numberLines, const QStringList &paths = {}) const;
    QByteArray readBytes(const QString &name) const;

    /** The texts of the message boxes shown so far. */
    QStringList messages() const;

    QTemporaryDir dir;
    FakeClipboard clipboard;
    FakeMessageBoxes boxes;
    FakeFileDialogs fileDialogs;
    FakeWindowOrder windowOrder;
    FakeLauncher launcher;
    FakePaster paster;
    int endProcessCalls = 0;
    Program program;
};
