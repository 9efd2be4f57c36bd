#pragma once

#include "platform/launcher.h"

/** Associated programs and mail through the desktop's own means. */
class QtLauncher final : public Launcher
{
public:
    Association findAssociatedProgram(const QString &path) override;
    bool start(const QString &program, const QStringList &arguments) override;
    bool composeMail(const QString &address) override;
};
