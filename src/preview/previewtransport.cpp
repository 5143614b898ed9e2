#include "previewtransport.h"

#include <cmath>
#include <limits>

#include "app/pubfunction.h"
#include "clips/image_item.h"
#include "clips/listpanel.h"
#include "dero_player.h"
#include "platform/filesystem.h"
#include "platform/localpath.h"
#include "preview/previewpanel.h"
#include "skin/fixprogress.h"
#include "skin/image.h"
#include "skin/imagebutton.h"

namespace {

const QString kSilentText = QStringLiteral("No sound device: the preview plays silently.");

// Sets a flag for the length of one wrapper call; a nested call finds it set and is refused.
class TReentryGuard {
  public:
    explicit TReentryGuard(bool& flag) : flag_(flag), entered_(!flag) { flag_ = true; }
    ~TReentryGuard() {
        if (entered_) {
            flag_ = false;
        }
    }
    TReentryGuard(const TReentryGuard&) = delete;
    TReentryGuard& operator=(const TReentryGuard&) = delete;
    bool Entered() const { return entered_; }

  private:
    bool& flag_;
    bool entered_;
};

// Truncated toward zero. A value no int32 can hold (an infinity, a NaN from a clip of no
// duration) becomes something SetTrim refuses or clamps, never undefined behaviour.
int32_t WholeSeconds(double seconds) {
    if (std::isnan(seconds)) {
        return 0;
    }
    if (seconds >= std::numeric_limits<int32_t>::max()) {
        return std::numeric_limits<int32_t>::max();
    }
    if (seconds <= std::numeric_limits<int32_t>::min()) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(seconds);
}

constexpr uintptr_t kStartMarker = 1;
constexpr uintptr_t kEndMarker = 0;

}  // namespace

TPreviewTransport::TPreviewTransport(std::unique_ptr<TPlayerBinding> player, const TParts& parts,
                                     QObject* parent)
    : QObject(parent),
      player_(std::move(player)),
      window_(parts.Window),
      panel_(parts.Panel),
      list_(parts.List),
      bar_(parts.Bar),
      picture_(parts.Picture),
      timer_(parts.Timer),
      addingFiles_(parts.AddingFiles) {
    if (timer_) {
        connect(timer_, &QTimer::timeout, this, &TPreviewTransport::Poll);
    }
}

TPreviewTransport::~TPreviewTransport() = default;

// ---- wrappers around the library ----

bool TPreviewTransport::OpenFile(const QString& path) {
    TReentryGuard guard(inOpen_);
    if (!guard.Entered() || !FileExists(path)) {
        return false;
    }
    bool result = player_->Init(window_);
    if (result) {
        result = player_->OpenFile(TLocalPath::Encode(path).constData(), 0);
    }
    return result;
}

bool TPreviewTransport::PlayClip() {
    TReentryGuard guard(inPlay_);
    return guard.Entered() && player_->Play(1.0);
}

bool TPreviewTransport::PauseClip() {
    TReentryGuard guard(inPause_);
    return guard.Entered() && player_->Pause();
}

bool TPreviewTransport::SetVideoWindow() {
    TReentryGuard guard(inSetVideoWindow_);
    return guard.Entered() &&
           player_->SetVideoWindow(panel_ ? panel_->Handle() : nullptr, 0, b_KeepRatio ? 1 : 0);
}

void TPreviewTransport::CloseFile() {
    player_->Stop();
    player_->Close();
}

void TPreviewTransport::SeekTo(double percent) {
    if (currentClip_ && currentClip_->Clip().Duration > 0) {
        player_->Seek(currentClip_->Clip().Duration * percent * 0.01);
    }
}

// ---- commands ----

void TPreviewTransport::Stop() {
    CloseFile();
    SetThumbEnabled(false);
    if (bar_) {
        bar_->SetPosition(0);
    }
    if (timer_) {
        timer_->stop();
    }
    if (picture_) {
        picture_->show();
    }
    // The centred picture need not cover the whole panel; the last frame must not show around it.
    if (panel_) {
        panel_->ClearFrame();
    }
    playerClip_ = nullptr;
}

void TPreviewTransport::Play() {
    if (addingFiles_ && addingFiles_()) {
        return;
    }
    // A paused or open clip runs on; only when nothing is open is the chosen clip opened.
    if (PlayClip()) {
        return;
    }
    OpenChosenClip();
}

void TPreviewTransport::OpenChosenClip() {
    Image_Item* item = list_ ? list_->GetFirstSelected() : nullptr;
    if (!item) {
        return;
    }
    CloseFile();
    OpenFile(item->Clip().SourceFile);
    // Kept even when the open failed, so selecting this clip again does not stop anything.
    playerClip_ = item;
}

void TPreviewTransport::Pause() {
    PauseClip();
}

void TPreviewTransport::PlayPause() {
    // The poll timer runs exactly while the library reports the clip running.
    if (timer_ && timer_->isActive()) {
        Pause();
    } else {
        Play();
    }
}

void TPreviewTransport::Seek(double percent, int pressed) {
    if (seekBusy_) {
        return;
    }
    if (pressed) {
        PauseClip();
        SeekTo(percent);
        return;
    }
    seekBusy_ = true;
    SeekTo(percent);
    seekBusy_ = false;
}

void TPreviewTransport::MarkStart() {
    MarkPosition(true);
}

void TPreviewTransport::MarkStop() {
    MarkPosition(false);
}

void TPreviewTransport::MarkPosition(bool start) {
    double duration = 0;
    double seconds = 0;
    double percent = 0;
    if (!currentClip_ || !player_->GetPosition(&duration, &seconds, &percent)) {
        return;
    }
    Image_Item* item = currentClip_;
    const int32_t at = WholeSeconds(seconds);
    const ClipRecord& clip = item->Clip();
    const bool accepted = start ? list_ && list_->SetTrim(item, at, clip.StopTime)
                                : list_ && list_->SetTrim(item, clip.StartTime, at);
    if (accepted) {
        ShowRange(item);
    }
}

void TPreviewTransport::Poll() {
    double duration = 0;
    double seconds = 0;
    double percent = 0;
    if (player_->GetPosition(&duration, &seconds, &percent)) {
        pollFailures_ = 0;
        if (bar_) {
            bar_->SetPosition(percent);
        }
        return;
    }
    // Four failures in a row are tolerated; the count is only set back by a success, so after
    // a restart of the timer a single failure stops it again.
    if (pollFailures_ > 3 && timer_) {
        timer_->stop();
    }
    ++pollFailures_;
}

void TPreviewTransport::ShowRange(Image_Item* item) {
    if (item) {
        const ClipRecord& clip = item->Clip();
        // A clip of no duration gives NaN fractions, which the bar takes as no range.
        const double duration = clip.Duration;
        if (bar_) {
            bar_->SetDuration(duration);
            bar_->SetRange(static_cast<float>(clip.StartTime / duration),
                           static_cast<float>(clip.StopTime / duration));
        }
        currentClip_ = item;
        return;
    }
    if (bar_) {
        bar_->SetRange(-1, -1);
        bar_->SetDuration(0);
    }
    Stop();
    currentClip_ = nullptr;
}

void TPreviewTransport::SetThumbEnabled(bool enabled) {
    if (bar_ && bar_->Thumb()) {
        bar_->Thumb()->setEnabled(enabled);
    }
}

// ---- messages ----

bool TPreviewTransport::Message(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    switch (message) {
        case WM_PLAYER_HOOK:
            player_->SetCallback([this](int32_t code, int32_t value1, int32_t value2) {
                EventFunction(code, value1, value2);
            });
            return true;
        case WM_PREVIEW_CLIP:
            OpenChosenClip();
            return true;
        case WM_CLIP_SELECTED:
            // Sent synchronously by the list, so the item is alive for this call.
            SelectionChanged(reinterpret_cast<Image_Item*>(wParam));
            return true;
        case WM_PLAYER_EVENT:
            PlayerEvent(wParam, lParam);
            return true;
        case WM_RANGE_MARKER:
            RangeMarkerReleased(wParam);
            return true;
        default:
            return false;
    }
}

void TPreviewTransport::SelectionChanged(Image_Item* item) {
    if (item != playerClip_.data()) {
        Stop();
    }
    if (item && item->Selected()) {
        ShowRange(item);
    } else {
        ShowRange(nullptr);
    }
}

void TPreviewTransport::PlayerEvent(uintptr_t code, intptr_t value) {
    switch (code) {
        case PLAYER_EVENT_OPENING:
            return;
        case PLAYER_EVENT_RUNNING:
            if (value < 0) {  // PLAYER_VALUE_GONE
                Stop();
            } else if (timer_) {
                timer_->start();
            }
            return;
        case PLAYER_EVENT_SEEK:
            if (value < 0) {  // PLAYER_VALUE_GONE
                Stop();
            }
            return;
        case PLAYER_EVENT_LOADED: {
            // The record lies in the library's static storage; its byte at offset 8 tells
            // whether the position may be moved.
            const auto* record = reinterpret_cast<const unsigned char*>(value);
            if (record && record[offsetof(DeroPlayerFileInfo, Seekable)] != 0) {
                SetThumbEnabled(true);
            }
            SetVideoWindow();
            PlayClip();
            if (picture_) {
                picture_->hide();
            }
            return;
        }
        case PLAYER_EVENT_PAUSED:
            if (timer_) {
                timer_->stop();
            }
            return;
        default:
            Stop();
            return;
    }
}

void TPreviewTransport::EventFunction(int32_t code, int32_t, int32_t) {
    if (code == PLAYER_CALL_END || code == PLAYER_CALL_ERROR) {
        Stop();
    } else if (code == PLAYER_CALL_SILENT) {
        TellSilent();
    }
}

void TPreviewTransport::TellSilent() {
    // Once for the program's run: a machine without sound stays without it, and a word at every
    // clip would be noise.
    if (silentTold_ || !panel_) {
        return;
    }
    silentTold_ = true;
    panel_->ShowNotice(kSilentText);
}

void TPreviewTransport::RangeMarkerReleased(uintptr_t which) {
    if (!currentClip_) {
        ShowRange(nullptr);
        return;
    }
    if (!bar_ || !list_) {
        return;
    }
    Image_Item* item = currentClip_;
    const ClipRecord& clip = item->Clip();
    const auto [start, end] = bar_->GetRange();
    // The markers stay where the user left them even when the trim is refused.
    if (which == kStartMarker) {
        list_->SetTrim(item, WholeSeconds(clip.Duration * static_cast<double>(start)),
                       clip.StopTime);
    } else if (which == kEndMarker) {
        list_->SetTrim(item, clip.StartTime,
                       WholeSeconds(clip.Duration * static_cast<double>(end)));
    }
}

void TPreviewTransport::Shutdown() {
    if (timer_) {
        timer_->stop();
    }
    CloseFile();
    player_->SetCallback({});
}
