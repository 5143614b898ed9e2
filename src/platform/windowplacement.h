#pragma once

class QWidget;

// True when the program is a Wayland client. There the compositor alone places top-level
// windows (a client's own move is ignored), knows no window opacity, and takes a window's mask
// as its input region only: what lies outside the mask shows unless its pixels are transparent.
bool CompositorPlacesWindows();

// Puts a top-level window in the middle of the screen it is on (the primary one before it is
// shown). Nothing where the compositor places windows itself.
void CenterOnScreen(QWidget* window);

// Minimises every visible top-level window of the application.
void MinimizeApplication();
