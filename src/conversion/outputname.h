#pragma once

#include <QString>

// The file a clip converts into: the source's file name in workPath (which ends in "/"), its
// last extension replaced by outputExt; while that name is taken, a number 1, 2, 3 ... goes
// before the extension. Existing files are never chosen, so nothing is overwritten; nothing is
// reserved either, so the file must be written before the next name is asked for.
QString FreeOutputFile(const QString& workPath, const QString& sourceFile,
                       const QString& outputExt);
