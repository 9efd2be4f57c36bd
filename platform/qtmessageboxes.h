#pragma once

#include "platform/messageboxes.h"

/** Message boxes through QMessageBox. */
class QtMessageBoxes final : public MessageBoxes
{
public:
    Answer show(const QString &text, const QString &title, Icon icon, Buttons buttons) override;
};
