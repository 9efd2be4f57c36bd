#pragma once

#include "platform/filedialogs.h"

/** The common file dialog through QFileDialog. */
class QtFileDialogs final : public FileDialogs
{
public:
    std::optional<QStringList> openFiles() override;
    std::optional<QString> saveFile() override;
};
