#pragma once

#include "script/ClipboardAccess.h"

namespace script {

// The system clipboard (QGuiApplication's); only a GUI program can use it.
class QtClipboard final : public ClipboardAccess {
public:
    QString text() const override;
    bool hasText() const override;
    void setText(const QString& text) override;
    void clear() override;
};

} // namespace script
