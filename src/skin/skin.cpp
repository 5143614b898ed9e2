#include "skin.h"

#include "platform/inifile.h"
#include "platform/messagebox.h"
#include "platform/picture.h"
#include "skin/checkimagebutton.h"
#include "skin/colourkeyregion.h"
#include "skin/dynamicimagebutton.h"
#include "skin/fixprogress.h"
#include "skin/image.h"
#include "skin/imagebutton.h"
#include "skin/skinappliers.h"

namespace {

const QString kSkinFileName = QStringLiteral("Skin.ini");
const QString kMaskKey = QStringLiteral("MaskBmp");
const QString kNoMask = QStringLiteral("NoData");

bool ApplyComponent(const TSkinComponent& component, const TIniFile& skinFile,
                    const QString& section, const QString& skinDir) {
    if (!component.control || typeid(*component.control) != component.skinClass) {
        return true;
    }
    const TSkinEntry entry(skinFile, section, component.control->objectName(), skinDir,
                           component.control->devicePixelRatioF());
    try {
        return component.applier(*component.control, entry);
    } catch (const EPictureError&) {
        return false;
    }
}

// False only for a mask that exists but does not decode.
bool ApplyMask(QWidget& window, const TIniFile& skinFile, const QString& section,
               const QString& skinDir) {
    const QString maskPath = skinDir + skinFile.ReadString(section, kMaskKey, kNoMask);
    if (!TSkinEntry::IsFile(maskPath)) {
        return true;
    }
    try {
        // Always the 1 x mask: a window's shape is a region in the skin's units.
        SetWindowShape(window, MaskShape(TSkinEntry::LoadBitmapFile(maskPath)));
    } catch (const EPictureError&) {
        return false;
    }
    window.update();
    return true;
}

}  // namespace

TSkinComponent SkinComponent(TImage* control) {
    return SkinComponent(control, &ApplyImageSkin);
}

TSkinComponent SkinComponent(TImageButton* control) {
    return SkinComponent(control, &ApplyImageButtonSkin);
}

TSkinComponent SkinComponent(TCheckImageButton* control) {
    return SkinComponent(control, &ApplyCheckImageButtonSkin);
}

TSkinComponent SkinComponent(TDynamicImageButton* control) {
    return SkinComponent(control, &ApplyDynamicImageButtonSkin);
}

TSkinComponent SkinComponent(TFixProgress* control) {
    return SkinComponent(control, &ApplyFixProgressSkin);
}

bool ApplySkin(QWidget& window, const std::vector<TSkinComponent>& components,
               const QString& skinDir) {
    const QString skinPath = skinDir + kSkinFileName;
    if (!TSkinEntry::IsFile(skinPath)) {
        return false;
    }
    const TIniFile skinFile(skinPath);
    const QString section = window.objectName();
    for (const TSkinComponent& component : components) {
        if (!ApplyComponent(component, skinFile, section, skinDir)) {
            ShowMessage(TMessageKind::Error, kSkinErrorText, &window);
            return false;
        }
    }
    if (!ApplyMask(window, skinFile, section, skinDir)) {
        ShowMessage(TMessageKind::Error, kSkinErrorText, &window);
        return false;
    }
    return true;
}
