#pragma once

#include <QString>

class QWidget;

// The three kinds of modal box the program shows: captioned "Error", "Information" (button OK)
// or "Confirm" (buttons Yes and No).
enum class TMessageKind { Error, Information, Confirm };

// Shows a modal box with the given text; returns true for OK or Yes.
bool ShowMessage(TMessageKind kind, const QString& text, QWidget* owner = nullptr);
