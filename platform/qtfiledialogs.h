#pragma once

#include "platform/filedialogs.h"

class QFileDialog;

/** The common file dialog through QFileDialog. */
class QtFileDialogs final : public FileDialogs
{
public:
    std::optional<QStringList> openFiles() override;
    std::optional<QString> saveFile() override;

    /** Sets a dialog up as either of the two is: Qt's own dialog with the program's
        captions and filters. */
    static void prepare(QFileDialog &dialog, bool opening);
};
