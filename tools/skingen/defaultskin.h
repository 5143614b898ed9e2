#pragma once

#include <QImage>
#include <QMap>
#include <QString>

// Draws the default skin into dir (created if needed): Skin.ini with the sections SelectWindow,
// MainWindow, ProgressWindow, ProfileWindow and AboutWindow, every picture they name, the splash
// "startup.jpg" and the device families' pictures, each also drawn at twice the size as
// "Name@2x.ext" beside it (window masks excepted: shapes are cut at 1 x). Needs a
// QGuiApplication (fonts). False when anything could not be written.
bool WriteDefaultSkin(const QString& dir);

// The same, also handing back a picture of each window (keyed by its section) as a user first
// sees it, with one button hovered and one pressed.
bool WriteDefaultSkin(const QString& dir, QMap<QString, QImage>* windowPictures);

// The program's icon as hicolor theme files: dir/<size>x<size>/apps/<name>.png.
bool WriteIcons(const QString& dir, const QString& name);
