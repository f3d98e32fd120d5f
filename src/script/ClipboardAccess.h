#pragma once

#include <QString>

namespace script {

// The clipboard as scripts use it: plain text only. QtClipboard is the system clipboard;
// MemoryClipboard stands in where there is none (tests, the console).
class ClipboardAccess {
public:
    virtual ~ClipboardAccess() = default;
    virtual QString text() const = 0;
    virtual bool hasText() const = 0;
    virtual void setText(const QString& text) = 0;
    virtual void clear() = 0;
};

class MemoryClipboard final : public ClipboardAccess {
public:
    QString text() const override { return m_text; }
    bool hasText() const override { return m_hasText; }
    void setText(const QString& text) override {
        m_text = text;
        m_hasText = true;
    }
    void clear() override {
        m_text.clear();
        m_hasText = false;
    }

private:
    QString m_text;
    bool m_hasText = false;
};

} // namespace script
