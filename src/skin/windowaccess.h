#pragma once

#include <QString>
#include <span>
#include <vector>

class QWidget;

// The names assistive technology reads for a window's controls. Each window keeps one table of
// them beside its code, in English like the rest of its texts, keyed by the controls' object
// names, so a skin or a layout change never loses a name.
struct TControlName {
    const char* Object;
    const char* Name;
};

// Gives every control of window (a child at any depth, not one of another window) named in names
// its accessible name. An entry the window has no child for is passed over: a window built without
// some controls still names the rest.
void NameControls(QWidget& window, std::span<const TControlName> names);

// Makes Tab visit controls in the order given (Backtab the other way); null entries are passed
// over, so a window whose controls were never built is left alone. In a window not yet shown the
// first control becomes the one the window focuses when it opens.
void ChainTabOrder(const std::vector<QWidget*>& controls);
