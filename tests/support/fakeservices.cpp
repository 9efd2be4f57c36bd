#include "fakeservices.h"

void FakeClipboard::clear()
{
    m_hasText = false;
    m_text.clear();
}

void FakeClipboard::putText(const QString &text)
{
    m_hasText = true;
    m_text = text;
}

MessageBoxes::Answer FakeMessageBoxes::show(const QString &text, const QString &title, Icon icon,
                                            Buttons buttons)
{
    shown.append({text, title, icon, buttons});
    return answers.isEmpty() ? Answer::Ok : answers.takeFirst();
}

std::optional<QStringList> FakeFileDialogs::openFiles()
{
    return openAnswers.isEmpty() ? std::nullopt : openAnswers.takeFirst();
}

std::optional<QString> FakeFileDialogs::saveFile()
{
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
