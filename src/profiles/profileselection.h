#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>

#include "profiles/outputstate.h"

class QComboBox;
struct ConvertSettings;

// The main window's output profile box: which family's profiles it lists, which one is chosen,
// and taking the chosen line apart for a conversion. The box's last entry, "Add my profile...",
// asks for a new profile.
class TProfileSelection : public QObject {
    Q_OBJECT
  public:
    static const QString AddMyProfile;  // "Add my profile..."

    // The editor is modal but never waited for: these open it and return at once, and its
    // owner reports the end through ProfileEditorClosed.
    // Opens the editor for a new profile of the family.
    using TNewProfileEditor = std::function<void(int32_t family)>;
    // Opens the editor on the key Profile<number> of the family's section.
    using TProfileEditor = std::function<void(int32_t family, int number)>;

    // box: the main window's drop-down list, which must outlive this object.
    // profilePath: the profile file; skinPath: the folder of the family pictures, ending in "/".
    TProfileSelection(QComboBox* box, QString profilePath, QString skinPath,
                      QObject* parent = nullptr);

    const TOutputState& State() const { return state_; }

    // Lists the family's profiles, fixes the output extension and container and loads the
    // family's picture. An unknown family lists the section with an empty name and keeps the
    // rest as it was.
    void SelectDeviceFamily(int32_t family);
    // Fills the box again from the file; the selection follows the section's DefaultIndex.
    // Each entry keeps the number of the key it was read from.
    void FillProfileList();

    // The convert button's check: false, after telling the user, while "Add my profile..." is
    // the box's text.
    bool ConfirmProfileChosen();
    // Before a run: the same check, then the chosen line into settings and the frame size into
    // the state. False when the check fails or the line has no usable resolution.
    bool ApplySelectedProfile(ConvertSettings& settings);

    // The edit button: the chosen profile in the editor, under the key number it was read
    // from, so a change is written where it came from even when missing keys shifted the
    // positions. With "Add my profile..." or nothing chosen the editor composes a new profile.
    void EditSelectedProfile();
    // The editor closed: the box is filled again when it saved; after "Add my profile..." the
    // last but one entry is chosen (the new profile, or else the last existing one).
    void ProfileEditorClosed(bool saved);

    // The key number of the box's entry at position, -1 for "Add my profile..." or none.
    int ProfileNumberAt(int position) const;

    void SetNewProfileEditor(TNewProfileEditor editor) { newProfileEditor_ = std::move(editor); }
    void SetProfileEditor(TProfileEditor editor) { profileEditor_ = std::move(editor); }

  private:
    void ComboBox_OutputSettingChange(int index);
    void LoadFamilyPicture(const QString& pictureFile);
    void ChooseLastButOne();
    void WidenDropDown();

    QComboBox* box_;  // outlives the selection: both belong to the main window
    QString profilePath_;
    QString skinPath_;
    TOutputState state_;
    TNewProfileEditor newProfileEditor_;
    TProfileEditor profileEditor_;
    // Whether the editor now open was asked for by choosing "Add my profile...".
    bool editingFromAddEntry_ = false;
};
