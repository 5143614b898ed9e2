#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>

#include "clips/image_item.h"
#include "dero_window.h"
#include "preview/playerbinding.h"

class TFixProgress;
class TImage;
class TListPanel;
class TPreviewPanel;

// The preview in the main window: plays a clip of the list into the preview panel through the
// player library and sets the clip's trim range while watching, by the mark buttons or by the
// range markers of the position bar. Everything runs on the user-interface thread; the library's
// messages reach it through the main window's message map, its event function through the
// binding.
//
// Clip items are held as guarded pointers: the list deletes items without telling anyone. The
// controls are guarded too, because the window destroys them before it shuts the player down.
class TPreviewTransport : public QObject {
    Q_OBJECT
  public:
    struct TParts {
        // Receives the library's messages.
        DeroWindowHandle* Window = nullptr;
        // The panel the pictures go to.
        TPreviewPanel* Panel = nullptr;
        TListPanel* List = nullptr;
        TFixProgress* Bar = nullptr;
        // The still picture shown whenever nothing plays.
        TImage* Picture = nullptr;
        // Polls the position; the transport only starts and stops it.
        QTimer* Timer = nullptr;
        // True while files are being added: playback may not start then.
        std::function<bool()> AddingFiles;
    };

    TPreviewTransport(std::unique_ptr<TPlayerBinding> player, const TParts& parts,
                      QObject* parent = nullptr);
    ~TPreviewTransport() override;

    // Transport buttons.
    void Stop();
    void Play();
    void Pause();
    void MarkStart();
    void MarkStop();
    // The keyboard's one key for both: pauses a running clip, plays anything else.
    void PlayPause();
    // The position bar's thumb: percent of the clip; pressed 1 while held or dragged, 0 on the
    // release.
    void Seek(double percent, int pressed);
    // Hands the panel to the library again, with the keep-ratio setting as it is now.
    bool SetVideoWindow();
    // A tick of the poll timer.
    void Poll();
    // WM_PLAYER_HOOK, WM_PREVIEW_CLIP, WM_CLIP_SELECTED, WM_PLAYER_EVENT and WM_RANGE_MARKER;
    // false for any other message.
    bool Message(uint32_t message, uintptr_t wParam, intptr_t lParam);
    // The end of the window: the library is stopped and closed; no control is touched.
    void Shutdown();

    Image_Item* CurrentClip() const { return currentClip_; }
    Image_Item* PlayerClip() const { return playerClip_; }
    int PollFailures() const { return pollFailures_; }

  private:
    void OpenChosenClip();
    void SelectionChanged(Image_Item* item);
    void PlayerEvent(uintptr_t code, intptr_t value);
    void EventFunction(int32_t code, int32_t value1, int32_t value2);
    void TellSilent();
    void RangeMarkerReleased(uintptr_t which);
    void ShowRange(Image_Item* item);
    void MarkPosition(bool start);
    void SetThumbEnabled(bool enabled);

    // The wrappers around the library.
    bool OpenFile(const QString& path);
    bool PlayClip();
    bool PauseClip();
    void CloseFile();
    void SeekTo(double percent);

    std::unique_ptr<TPlayerBinding> player_;
    DeroWindowHandle* window_;
    QPointer<TPreviewPanel> panel_;
    QPointer<TListPanel> list_;
    QPointer<TFixProgress> bar_;
    QPointer<TImage> picture_;
    QPointer<QTimer> timer_;
    std::function<bool()> addingFiles_;

    QPointer<Image_Item> currentClip_;
    QPointer<Image_Item> playerClip_;
    int32_t pollFailures_ = 0;
    bool seekBusy_ = false;
    bool silentTold_ = false;
    // A nested call into the same wrapper (a library that runs the event loop inside a call)
    // is refused instead of reaching the library again.
    bool inOpen_ = false;
    bool inPlay_ = false;
    bool inPause_ = false;
    bool inSetVideoWindow_ = false;
};
