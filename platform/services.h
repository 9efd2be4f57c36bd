#pragma once

class Clipboard;
class FileDialogs;
class Launcher;
class MessageBoxes;
class Paster;
class WindowOrder;

/** The platform services the windows use, created in main() (or by a test) and passed in. */
struct Services
{
    Clipboard &clipboard;
    MessageBoxes &messages;
    FileDialogs &fileDialogs;
    WindowOrder &windowOrder;
    Launcher &launcher;
    Paster &paster;
};
