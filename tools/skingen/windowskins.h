#pragma once

#include <QImage>

class TSkinWriter;

// Each draws one window's section of the default skin into writer and returns a picture of the
// window as a user sees it (buttons in their normal look, one hovered and one pressed).
QImage WriteSelectWindowSkin(TSkinWriter& writer);
QImage WriteMainWindowSkin(TSkinWriter& writer);
QImage WriteProgressWindowSkin(TSkinWriter& writer);
QImage WriteProfileWindowSkin(TSkinWriter& writer);
QImage WriteAboutWindowSkin(TSkinWriter& writer);
