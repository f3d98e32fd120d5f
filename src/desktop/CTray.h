#pragma once

#include "WindowMessages.h"

#include <QIcon>
#include <QObject>
#include <QPointer>

class QAction;
class QMenu;
class QSystemTrayIcon;
class QWidget;

// The program's icon in the notification area. The icon's mouse activity reaches the owner window
// as msg::TrayCallback messages (the mouse message in lParam), which this object, hooked to that
// window, turns into the signals below. A tray host that starts again (the panel restarted) gets
// the icon back.
class CTray : public QObject, public desktop::IWindowHook {
    Q_OBJECT

public:
    // The message a restarted tray host sends to every hooked window.
    static constexpr int TaskbarCreated = 0xC0F1;
    static constexpr int TooltipLength = 64;

    explicit CTray(QObject* parent = nullptr);
    ~CTray() override; // removes the icon

    QIcon Icon() const { return m_iconPicture; }
    void setIcon(const QIcon& icon);
    QString TooltipText() const { return m_tooltip; }
    void setTooltipText(const QString& text); // cut to TooltipLength characters
    bool Visible() const { return m_visible; }
    void setVisible(bool visible);

    // Shows the icon for `hWnd` and hooks that window; false (nothing changed) without an icon.
    bool AddIcon(desktop::WindowHandle hWnd);
    void DeleteIcon();
    // The owner's menu at the pointer, with `defaultItem` in bold. The owner is not brought
    // forward: here that would show a hidden window, and the menu takes the input itself. Where
    // the tray host draws the menu (hostDrawsMenu) nothing pops up: the host shows it.
    void PopupMenu(QWidget* owner, QMenu* menu, QAction* defaultItem);
    // The menu a StatusNotifierItem host shows for the icon (exported over dbusmenu).
    void setHostMenu(QMenu* menu, QAction* defaultItem);
    bool hostDrawsMenu() const;

    // Whether a notification area is there to show the icon in.
    static bool isTrayAvailable();
    // The platform's icon, for tests and for the checks of the tray bed; null on Wayland until a
    // tray host is on the bus.
    QSystemTrayIcon* systemTrayIcon() const { return m_icon; }

    // desktop::IWindowHook
    desktop::WindowHandle hWnd() const override { return m_hWnd; }
    std::intptr_t WindowProc(desktop::WindowHandle hWnd, int iMsg, std::intptr_t wParam,
                             std::intptr_t lParam) override;

signals:
    void Click();
    void DblClick();
    void MouseDown(int button); // 1 left, 2 right, 4 middle
    void MouseUp(int button);
    void MouseMove();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void notify(int mouseMessage);
    void onActivated(int reason);
    void watchTrayHostRestarts();
    // Makes the platform's icon anew (or for the first time) with the stored state.
    void makeIcon();

    QSystemTrayIcon* m_icon = nullptr;
    QIcon m_iconPicture;
    QPointer<QMenu> m_hostMenu;
    // Only off X11: the icon waits for a StatusNotifierWatcher and is made again for each one.
    bool m_waitsForWatcher = false;
    QString m_tooltip;
    desktop::WindowHandle m_hWnd = nullptr;
    bool m_visible = false;
    bool m_doubleClicked = false;
    // Set once the embedded icon's own mouse events were seen: its activations then add nothing.
    bool m_mouseEventsSeen = false;
};
