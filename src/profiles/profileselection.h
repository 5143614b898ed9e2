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

    // Shows the editor for a new profile of the family; returns whether it saved one.
    using TNewProfileEditor = std::function<bool(int32_t family)>;
    // Shows the editor on the profile at a position of the box (-1 when nothing is chosen);
    // returns whether it saved.
    using TProfileEditor = std::function<bool(int32_t family, int position)>;

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
    void FillProfileList();

    // The convert button's check: false, after telling the user, while "Add my profile..." is
    // the box's text.
    bool ConfirmProfileChosen();
    // Before a run: the same check, then the chosen line into settings and the frame size into
    // the state. False when the check fails or the line has no usable resolution.
    bool ApplySelectedProfile(ConvertSettings& settings);

    // The edit button: the chosen profile in the editor; the box is filled again when it saved.
    void EditSelectedProfile();

    void SetNewProfileEditor(TNewProfileEditor editor) { newProfileEditor_ = std::move(editor); }
    void SetProfileEditor(TProfileEditor editor) { profileEditor_ = std::move(editor); }

  private:
    void ComboBox_OutputSettingChange(int index);
    void LoadFamilyPicture(const QString& pictureFile);

    QComboBox* box_;  // outlives the selection: both belong to the main window
    QString profilePath_;
    QString skinPath_;
    TOutputState state_;
    TNewProfileEditor newProfileEditor_;
    TProfileEditor profileEditor_;
};
