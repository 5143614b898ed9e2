#pragma once

class QWidget;

// True when the program is a Wayland client. There the compositor alone places top-level
// windows (a client's own move is ignored), knows no window opacity, and takes a window's mask
// as its input region only: what lies outside the mask shows unless its pixels are transparent.
bool CompositorPlacesWindows();

// Puts a top-level window in the middle of the screen it is on (the primary one before it is
// shown). Nothing where the compositor places windows itself.
void CenterOnScreen(QWidget* window);

// Makes a top-level window with a parent widget transient for the parent's window, so a window
// manager keeps it above that window (and its own dialogs above it). Qt links the two only when
// the parent's native window already exists as the child's is made, which a window prepared
// before its owner was first shown misses. Call before showing the window.
void KeepAboveOwner(QWidget* window);

// Minimises every visible top-level window of the application.
void MinimizeApplication();
