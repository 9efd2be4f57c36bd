#pragma once

#include "platform/clipboard.h"

/** The clipboard through QClipboard, in its Unicode plain-text form. */
class QtClipboard final : public Clipboard
{
public:
    void clear() override;
    bool hasText() const override;
    QString text() const override;

protected:
    void putText(const QString &text) override;
};
