#pragma once

#include <QWidget>

class Program;

/** The version box: title, version and icon, and a link that starts a mail to the
    maintainer. */
class frmAbout final : public QWidget
{
    Q_OBJECT

public:
    explicit frmAbout(Program &program);
    ~frmAbout() override;

private:
    Program &m_program;
};
