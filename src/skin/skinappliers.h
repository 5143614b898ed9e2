#pragma once

class TCheckImageButton;
class TDynamicImageButton;
class TFixProgress;
class TImage;
class TImageButton;
class TSkinEntry;

// The appliers of the skin's own control classes. Each configures one control from its entry and
// returns false when the entry is in error (missing key, missing file, strip too narrow, ...).
// Pictures that exist but do not decode throw EPictureError; ApplySkin turns that into the same
// failure. An applier may leave its control partly configured when it fails.

// Picture (BMP or JPEG), bounds, Visible, Enabled, Transparent; fields 13/14 size the parent.
bool ApplyImageSkin(TImage& image, const TSkinEntry& entry);
bool ApplyImageButtonSkin(TImageButton& button, const TSkinEntry& entry);
// Unchecked strip from field 1, checked strip (or "static") from field 2, hints "a#b".
bool ApplyCheckImageButtonSkin(TCheckImageButton& button, const TSkinEntry& entry);
// State strip with hover and down from field 1, animation strip (or "static") from field 2,
// frame interval and loop delay from fields 13 and 14.
bool ApplyDynamicImageButtonSkin(TDynamicImageButton& button, const TSkinEntry& entry);
// Thumb strip (1), range fill (2), track (3), optional marker strips (13, 14).
bool ApplyFixProgressSkin(TFixProgress& bar, const TSkinEntry& entry);
