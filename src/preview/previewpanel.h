#pragma once

#include <QImage>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <mutex>

#include "dero_window.h"

class QLabel;

// The black preview panel the player library draws into. Its handle hands frames over from the
// library's render thread; the newest one is painted on the user-interface thread. Frames that
// arrive faster than they can be painted replace each other (the skipped ones are counted).
class TPreviewPanel : public QWidget {
    Q_OBJECT
  public:
    explicit TPreviewPanel(QWidget* parent = nullptr);

    // The handle for PlayerSetVideoWindow; valid as long as the panel.
    DeroWindowHandle* Handle() { return &handle_; }

    // Forgets the picture shown; the panel is black again.
    void ClearFrame();
    // Shows a line of text along the bottom of the panel, over the picture, for a few seconds.
    void ShowNotice(const QString& text);
    // The line shown now (empty when none).
    QString Notice() const;
    // The picture being shown (null when none).
    const QImage& Frame() const { return frame_; }
    // Counts since the panel was made: frames handed over, frames painted, frames replaced
    // before they could be shown.
    int FramesPresented() const { return presented_.load(); }
    int FramesShown() const { return shown_; }
    int FramesReplaced() const { return replaced_.load(); }

  signals:
    // A new frame was taken for showing (user-interface thread).
    void FrameArrived();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    static void PresentThunk(void* owner, const void* pixels, int width, int height, size_t stride);
    static void SizeThunk(void* owner, int* width, int* height);
    void Present(const void* pixels, int width, int height, size_t stride);
    void TakePendingFrame();
    void PlaceNotice();

    DeroWindowHandle handle_{};
    // Written on the user-interface thread, read by the render thread for each frame.
    std::atomic<int> width_;
    std::atomic<int> height_;
    std::atomic<int> presented_{0};
    std::atomic<int> replaced_{0};
    int shown_ = 0;
    // The render thread's newest copy, waiting for the user-interface thread.
    std::mutex pendingMutex_;
    QImage pending_;
    bool takePosted_ = false;
    QImage frame_;
    QLabel* notice_;
    QTimer noticeTimer_;
};
