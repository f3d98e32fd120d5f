#pragma once

#include "WindowMessages.h"

#include <QList>
#include <QObject>

// The global hotkeys of one window: registers combinations of a virtual-key code and a modifier
// mask (1 Alt, 2 Ctrl, 4 Shift, 8 Windows) with the system, keeps the list of what it registered,
// and turns a press into the signals HotKey and HotKeyEx. The settings dialog releases everything
// with ResetHotKeys while it is open; the main window registers again afterwards (SetHotKey, then
// StartHotKeys).
class CHotKey : public QObject, public desktop::IWindowHook {
    Q_OBJECT

public:
    explicit CHotKey(QObject* parent = nullptr);
    ~CHotKey() override; // releases every combination

    // The id of a combination: HotKey * 65536 + Mask.
    static qint32 combinationId(int hotKey, int mask) { return hotKey * 65536 + mask; }

    // Registers the combination for `hWnd` and lists it. False when the system refuses it or it
    // is listed already. When not stopped, StartHotKeys follows a success.
    bool SetHotKey(desktop::WindowHandle hWnd, int hotKey, int mask);
    // Releases one listed combination and drops it from the list.
    void ResetHotKey(int hotKey, int mask);
    // Releases every combination, empties the list and unhooks: the state while the settings
    // dialog is open.
    void ResetHotKeys();
    // Registers again what StopHotKeys released and hooks the window (exactly once).
    void StartHotKeys();
    // Releases every combination but keeps the list, and unhooks.
    void StopHotKeys();

    QList<qint32> registeredIds() const { return m_list; }
    bool isStopped() const { return m_stopped; }

    // desktop::IWindowHook
    desktop::WindowHandle hWnd() const override { return m_hWnd; }
    std::intptr_t WindowProc(desktop::WindowHandle hWnd, int iMsg, std::intptr_t wParam,
                             std::intptr_t lParam) override;

signals:
    void HotKey(int hotKey, int mask);
    // A handler that sets `through` lets the press go on to the window's earlier procedure.
    void HotKeyEx(int hotKey, int mask, bool& through);

private:
    bool registerId(qint32 id, bool addToList);
    void releaseId(qint32 id, bool removeFromList);

    desktop::WindowHandle m_hWnd = nullptr;
    QList<qint32> m_list;     // in registration order
    QList<qint32> m_released; // listed but released by StopHotKeys
    bool m_stopped = false;
};
