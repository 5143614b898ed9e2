#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "skin/skin.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class TDynamicImageButton;
class TImage;
class TUpDown;
struct TProfileLineParts;

// The profile editor: a modal window in which the user composes a new output profile for a
// device family or changes an existing one, from the value lists of the family's section of
// the profile file. It is made once and kept; every opening is PrepareForFamily (and, for a
// change, LoadProfile), then ShowModal. ShowModal returns at once; the window reports its
// end by Closed, so no caller waits in an event loop of its own.
class TProfileWindow : public QWidget, public TSkinnedWindow {
    Q_OBJECT
  public:
    static constexpr int kMaxNameLength = 15;
    static constexpr int kMinBitRate = 1;
    static constexpr int kMaxBitRate = 2500;
    static const QString kMono;    // "1 Channel Mono"
    static const QString kStereo;  // "2 Channels Stereo"

    // On the profile file of the program's folder.
    TProfileWindow();
    explicit TProfileWindow(QString profilePath);
    ~TProfileWindow() override;

    std::vector<TSkinComponent> SkinComponents() override;

    // Fills the value lists and the proposals of the family's section and sets up an append.
    // A family outside 0..4 keeps the section of the previous opening.
    void PrepareForFamily(int32_t family);
    // Shows Profile<number> for a change under that number, the name read-only. A missing key
    // or "NoData" leaves what the preparation showed. A negative number is no key at all: the
    // window stays as prepared, for a new profile.
    void LoadProfile(int number);
    // Shows the window application-modal and returns; Closed follows when it closes.
    void ShowModal();
    // The two openings: prepared for the family, then shown.
    void ShowForNewProfile(int32_t family);
    void ShowForChange(int32_t family, int number);

    const QString& Section() const { return section_; }
    int ProfileNumber() const { return profileNumber_; }
    bool Saved() const { return saved_; }

    // The handlers of the window's controls.
    void TB_OkClick();
    void TB_CancelClick();
    void TB_CloseClick();
    void UpDownClick();
    void Edit_VideoBitRateChange();

    QLineEdit* Edit_Name = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QComboBox* ComboBox_VideoResolution = nullptr;
    QLineEdit* Edit_VideoBitRate = nullptr;
    TUpDown* UpDown = nullptr;
    QComboBox* ComboBox_VideoFramerate = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QComboBox* ComboBox_AudioChannel = nullptr;
    QComboBox* ComboBox_AudioBitRate = nullptr;
    QComboBox* ComboBox_AudioFrameRate = nullptr;
    TImage* Img_Background = nullptr;
    TDynamicImageButton* TB_Ok = nullptr;
    TDynamicImageButton* TB_Cancel = nullptr;
    TDynamicImageButton* TB_Close = nullptr;

  signals:
    // The window closed; saved tells whether OK wrote the profile.
    void Closed(bool saved);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void CreateControls();
    QGroupBox* MakeGroupBox(const QString& caption, const QRect& bounds);
    QLabel* MakeLabel(QWidget* parent, const QString& text, const QRect& bounds);
    QComboBox* MakeList(QWidget* parent, const QRect& bounds);
    void CreateVideoRows();
    void CreateAudioRows();
    void FormCreate();
    TDynamicImageButton* MakeButton(const char* name);

    void FillList(QComboBox* list, const QString& name);
    TProfileLineParts ShownParts() const;
    bool Save();

    QString profilePath_;
    QString section_;
    int profileNumber_ = 0;
    bool saved_ = false;
};

extern TProfileWindow* ProfileWindow;
