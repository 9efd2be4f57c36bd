#pragma once

#include "platform/clipboard.h"
#include "platform/filedialogs.h"
#include "platform/launcher.h"
#include "platform/messageboxes.h"
#include "platform/paster.h"
#include "platform/windoworder.h"

#include <QApplication>
#include <QByteArrayList>
#include <QList>
#include <QPair>
#include <QStringList>

#include <optional>

// Services that answer as scripted and record what the program asked of them.

/** The first of the scripted answers, taken off the list. A list emptied so is replaced by a
    new one: Qt 6.8 asserts in a debug build when an emptied list, which keeps its room at the
    front, is given new answers with `= {...}`. */
template <typename T>
T takeNext(QList<T> &list)
{
    T next = list.takeFirst();
    if (list.isEmpty())
        list = QList<T>();
    return next;
}

class FakeClipboard final : public Clipboard
{
public:
    void clear() override { m_text.reset(); }
    bool hasText() const override { return m_text.has_value(); }
    QString text() const override { return m_text.value_or(QString()); }

protected:
    void putText(const QString &text) override { m_text = text; }

private:
    std::optional<QString> m_text;
};

class FakeMessageBoxes final : public MessageBoxes
{
public:
    struct Box
    {
        QString text, title;
        Icon icon;
        Buttons buttons;
    };

    Answer show(const QString &text, const QString &title, Icon icon, Buttons buttons) override
    {
        shown.append({text, title, icon, buttons});
        return answers.isEmpty() ? Answer::Ok : takeNext(answers);
    }

    QList<Box> shown;
    QList<Answer> answers; ///< consumed in order; Ok once they run out
};

/** Each call takes the next answer; none left means the user cancelled. */
class FakeFileDialogs final : public FileDialogs
{
public:
    std::optional<QStringList> openFiles() override
    {
        focusWhenAsked = QApplication::focusWidget();
        return openAnswers.isEmpty() ? std::nullopt : takeNext(openAnswers);
    }
    std::optional<QString> saveFile() override { return saveAnswers.isEmpty() ? std::nullopt : takeNext(saveAnswers); }

    QList<std::optional<QStringList>> openAnswers;
    QWidget *focusWhenAsked = nullptr;
    QList<std::optional<QString>> saveAnswers;
};

class FakeWindowOrder final : public WindowOrder
{
public:
    void setStaysOnTop(QWidget &, bool onTop, bool) override { asked.append(onTop); }

    QList<bool> asked; ///< on top or not, at each call
};

class FakeLauncher final : public Launcher
{
public:
    Association findAssociatedProgram(const QString &path) override { lookedUp << path; return association; }
    bool start(const QString &program, const QStringList &arguments) override
    {
        started.append({program, arguments});
        return startSucceeds;
    }
    bool composeMail(const QString &address) override { mails << address; return mailSucceeds; }

    Association association;
    QStringList lookedUp;
    QList<QPair<QString, QStringList>> started;
    bool startSucceeds = true;
    QStringList mails;
    bool mailSucceeds = true;
};

class FakePaster final : public Paster
{
public:
    Obstacle obstacle() const override { return blocked; }
    void prepare(const QByteArray &grant) override { prepared << grant; }
    void pasteIntoPrevious() override { ++pastes; }

    Obstacle blocked = Obstacle::None;
    QByteArrayList prepared;
    int pastes = 0;
};
