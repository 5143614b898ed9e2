#pragma once

#include <QString>

// Asks the desktop to open an address ("http:", "mailto:"...), a document or a folder with the
// program the user chose for it. The result says only whether the request could be handed on.
bool ShellOpen(const QString& target);
