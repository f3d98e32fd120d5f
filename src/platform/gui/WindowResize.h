#pragma once

class QWidget;

namespace platform {

// Gives a window without a frame its own resize edges: near its border the pointer shows the
// resize cursor and a left-button drag resizes the window, through the window manager where it
// offers that (it then applies the window's minimum and maximum size itself), else by following
// the pointer within those limits. Edges along which the window cannot change size (equal minimum
// and maximum) stay ordinary. The children under the edges lose only that thin strip.
void installResizeEdges(QWidget* window);

} // namespace platform
