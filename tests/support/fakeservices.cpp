#include "fakeservices.h"

void FakeClipboard::clear()
{
    operations.append(QStringLiteral("clear"));
    m_hasText = false;
    m_text.clear();
}

void FakeClipboard::putText(const QString &text)
{
    operations.append(QStringLiteral("setText:") + text);
    holdText(text);
}

void FakeClipboard::holdNonText()
{
    m_hasText = false;
    m_text.clear();
}

void FakeClipboard::holdText(const QString &text)
{
    m_hasText = true;
    m_text = text;
}

MessageBoxes::Answer FakeMessageBoxes::show(const QString &text, const QString &title, Icon icon,
                                            Buttons buttons)
{
    shown.append({text, title, icon, buttons});
    if (onShow)
        onShow(shown.last());
    return answers.isEmpty() ? Answer::Ok : answers.takeFirst();
}

std::optional<QStringList> FakeFileDialogs::openFiles()
{
    ++openCalls;
    if (whileOpen)
        whileOpen();
    return openAnswers.isEmpty() ? std::nullopt : openAnswers.takeFirst();
}

std::optional<QString> FakeFileDialogs::saveFile()
{
    ++saveCalls;
    return saveAnswers.isEmpty() ? std::nullopt : saveAnswers.takeFirst();
}

void FakeWindowOrder::setStaysOnTop(QWidget &window, bool onTop, bool show)
{
    calls.append({&window, onTop, show});
}

Association FakeLauncher::findAssociatedProgram(const QString &path)
{
    lookedUp.append(path);
    return association;
}

bool FakeLauncher::start(const QString &program, const QStringList &arguments)
{
    started.append({program, arguments});
    return startSucceeds;
}

bool FakeLauncher::composeMail(const QString &address)
{
    mails.append(address);
    return mailSucceeds;
}
