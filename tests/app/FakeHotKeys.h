#pragma once

#include "desktop/HotKeyService.h"

#include <QList>

// The window's tests run offscreen, where no hotkey can be registered. While alive, this service
// takes the system's place: it accepts every combination but the refused ones and lists what is
// held.
class FakeHotKeys : public desktop::IHotKeyService {
public:
    FakeHotKeys() : m_previous(desktop::setHotKeyService(this)) {}
    ~FakeHotKeys() override { desktop::setHotKeyService(m_previous); }
    FakeHotKeys(const FakeHotKeys&) = delete;
    FakeHotKeys& operator=(const FakeHotKeys&) = delete;

    bool registerHotKey(desktop::WindowHandle, int id, int, int) override {
        if (refused.contains(id) || !unavailable.isEmpty())
            return false;
        held << id;
        return true;
    }
    void unregisterHotKey(desktop::WindowHandle, int id) override { held.removeAll(id); }
    QString unavailableReason() const override { return unavailable; }

    QList<int> held;
    QList<int> refused;
    QString unavailable;

private:
    desktop::IHotKeyService* m_previous;
};
