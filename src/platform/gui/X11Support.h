#pragma once

#include <QList>
#include <QtGlobal>

#include <initializer_list>

#include <xcb/xcb.h>

class QWidget;

// The bits of X11 the window helpers need beyond what Qt offers: atoms, _NET_WM_STATE, client
// messages to the root window and user timestamps. Every function is a no-op (or answers
// "nothing") when the program does not run on the xcb platform.
namespace platform::x11 {

// Qt's own connection, or nullptr when not on X11.
xcb_connection_t* connection();
xcb_window_t rootWindow();
xcb_atom_t atom(const char* name);
// Interns the atoms not known yet in one round trip to the server (for atoms needed together).
void internAtoms(std::initializer_list<const char*> names);

// The client's _NET_WM_STATE atoms as the property holds them.
QList<xcb_atom_t> netWmState(xcb_window_t window);
void setNetWmStateProperty(xcb_window_t window, const QList<xcb_atom_t>& atoms);

// Asks the window manager to add (or remove) states of a managed window.
void changeNetWmState(xcb_window_t window, bool add, xcb_atom_t first, xcb_atom_t second = 0);

// The client window the window manager reports as active (_NET_ACTIVE_WINDOW), 0 when unknown.
xcb_window_t activeWindow();

// Asks the window manager to activate `window` as a pager would (source 2), which window
// managers with focus-stealing prevention honour.
void requestActivation(xcb_window_t window, xcb_timestamp_t timestamp);

// The time of the latest key or button press this program has seen (a hotkey press included),
// or, before any, the X server's current time.
xcb_timestamp_t lastUserTimestamp();

// Starts recording user timestamps (installs a native event filter once).
void watchUserTimestamps();

} // namespace platform::x11
