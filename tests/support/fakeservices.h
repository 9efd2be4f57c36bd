#pragma once

#include "platform/clipboard.h"
#include "platform/filedialogs.h"
#include "platform/launcher.h"
#include "platform/messageboxes.h"
#include "platform/windoworder.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

/** A clipboard in memory that remembers what was done to it. */
class FakeClipboard final : public Clipboard
{
public:
    void clear() override;
    bool hasText() const override { return m_hasText; }
    QString text() const override { return m_hasText ? m_text : QString(); }

protected:
    void putText(const QString &text) override;

private:
    bool m_hasText = false;
    QString m_text;
};

/** Message boxes that record what they would show and answer as scripted. */
class FakeMessageBoxes final : public MessageBoxes
{
public:
    struct Box
    {
        QString text;
        QString title;
        Icon icon;
        Buttons buttons;
    };

    Answer show(const QString &text, const QString &title, Icon icon, Buttons buttons) override;

    QList<Box> shown;
    QList<Answer> answers; ///< consumed in order; Ok once they run out
};

/** File dialogs answered as scripted: each call takes the next answer, nothing = cancel. */
class FakeFileDialogs final : public FileDialogs
{
public:
    std::optional<QStringList> openFiles() override;
    std::optional<QString> saveFile() override;

    QList<std::optional<QStringList>> openAnswers;
    QList<std::optional<QString>> saveAnswers;
};

/** Records the on-top requests instead of talking to a window manager. */
class FakeWindowOrder final : public WindowOrder
{
public:
    struct Call
    {
        QWidget *window;
        bool onTop;
        bool show;
    };

    void setStaysOnTop(QWidget &window, bool onTop, bool show) override;

    QList<Call> calls;
};

/** An association lookup answered as scripted, and program starts recorded. */
class FakeLauncher final : public Launcher
{
public:
    Association findAssociatedProgram(const QString &path) override;
    bool start(const QString &program, const QStringList &arguments) override;
    bool composeMail(const QString &address) override;

    Association association;
    QStringList lookedUp;
    QList<QPair<QString, QStringList>> started;
    bool startSucceeds = true;
    QStringList mails;
    bool mailSucceeds = true;
};
