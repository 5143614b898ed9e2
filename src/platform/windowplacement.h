#pragma once

class QWidget;

// Puts a top-level window in the middle of the screen it is on (the primary one before it is
// shown).
void CenterOnScreen(QWidget* window);

// Minimises every visible top-level window of the application.
void MinimizeApplication();
