#pragma once

#include <QString>
#include <QStringList>

#include <optional>

/** The common file dialog: clip data files preselected, no overwrite question. */
class FileDialogs
{
public:
    virtual ~FileDialogs() = default;

    /** Lets the user choose one or more files to open; nothing when cancelled. Names the
        user typed come back whether or not they exist: the caller leaves out the missing. */
    virtual std::optional<QStringList> openFiles() = 0;
    /** Lets the user choose a file to save to; nothing when cancelled. */
    virtual std::optional<QString> saveFile() = 0;
};
