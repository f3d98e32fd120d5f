#include "CHotKey.h"

#include "HotKeyService.h"
#include "HookRegistry.h"

CHotKey::CHotKey(QObject* parent) : QObject(parent) {}

CHotKey::~CHotKey() {
    ResetHotKeys();
}

bool CHotKey::SetHotKey(desktop::WindowHandle hWnd, int hotKey, int mask) {
    m_hWnd = hWnd;
    const bool registered = registerId(combinationId(hotKey, mask), true);
    if (registered && !m_stopped)
        StartHotKeys();
    return registered;
}

void CHotKey::ResetHotKey(int hotKey, int mask) {
    releaseId(combinationId(hotKey, mask), true);
}

void CHotKey::ResetHotKeys() {
    for (const qint32 id : QList<qint32>(m_list))
        releaseId(id, true);
    desktop::UnhookWindow(this);
    m_stopped = true;
}

void CHotKey::StartHotKeys() {
    // What StopHotKeys released is registered again; listed combinations that are still held
    // are left alone.
    for (const qint32 id : std::exchange(m_released, {}))
        desktop::hotKeyService().registerHotKey(m_hWnd, id, id & 0xffff, id / 65536);
    desktop::UnhookWindow(this);
    desktop::HookWindow(this);
    m_stopped = false;
}

void CHotKey::StopHotKeys() {
    for (const qint32 id : m_list) {
        if (!m_released.contains(id)) {
            releaseId(id, false);
            m_released.append(id);
        }
    }
    desktop::UnhookWindow(this);
    m_stopped = true;
}

bool CHotKey::registerId(qint32 id, bool addToList) {
    if (m_list.contains(id))
        return false;
    const bool registered =
        desktop::hotKeyService().registerHotKey(m_hWnd, id, id & 0xffff, id / 65536);
    if (registered && addToList)
        m_list.append(id);
    return registered;
}

void CHotKey::releaseId(qint32 id, bool removeFromList) {
    if (!m_list.contains(id))
        return;
    desktop::hotKeyService().unregisterHotKey(m_hWnd, id);
    if (removeFromList) {
        m_list.removeAll(id);
        m_released.removeAll(id);
    }
}

std::intptr_t CHotKey::WindowProc(desktop::WindowHandle, int iMsg, std::intptr_t,
                                  std::intptr_t lParam) {
    if (iMsg != desktop::msg::HotKey || !m_list.contains(qint32(lParam)))
        return desktop::PassOn;
    const int hotKey = int(lParam / 65536);
    const int mask = int(lParam & 65535);
    emit HotKey(hotKey, mask);
    bool through = false;
    emit HotKeyEx(hotKey, mask, through);
    return through ? desktop::PassOn : desktop::Consumed;
}
