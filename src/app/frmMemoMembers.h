#pragma once

class QKeyEvent;

// The long-lived objects the main window owns, created by Initialize and released by Unload in
// a fixed order.
struct frmMemo::Members {
    // Routes a key of the input line through the key bindings; true swallows it.
    bool routeKeyPress(QKeyEvent*) { return false; }
    void saveMemoPane() {}
};
