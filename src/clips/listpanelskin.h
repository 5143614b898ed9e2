#pragma once

class TListPanel;
class TSkinEntry;

// The skin loader's applier for the class "TListPanel" (listed by the window with
// SkinComponent(panel, &ApplyListPanelSkin)). Fields: 1 thumb strip, 2 and 3 optional scroll
// button strips, 4-7 bounds, 13 track, 14 background, 15 optional bottom picture. False when a
// required picture is missing or only one scroll button is given.
bool ApplyListPanelSkin(TListPanel& panel, const TSkinEntry& entry);
