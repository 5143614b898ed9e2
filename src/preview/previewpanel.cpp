#include "previewpanel.h"

#include <QColor>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <cstring>

#include "platform/queuedcall.h"

namespace {

constexpr int kNoticeMs = 8000;
constexpr int kNoticePadding = 4;

}  // namespace

TPreviewPanel::TPreviewPanel(QWidget* parent)
    : QWidget(parent), width_(width()), height_(height()), notice_(new QLabel(this)) {
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    // Frames cover the whole panel; Qt need not clear it first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    handle_.owner = this;
    handle_.present = &TPreviewPanel::PresentThunk;
    handle_.size = &TPreviewPanel::SizeThunk;
    noticeTimer_.setSingleShot(true);
    noticeTimer_.setInterval(kNoticeMs);
    connect(&noticeTimer_, &QTimer::timeout, notice_, &QLabel::hide);
    // Half-covered picture: the line reads over any frame and the picture still shows.
    notice_->setAutoFillBackground(true);
    QPalette strip = notice_->palette();
    strip.setColor(QPalette::Window, QColor(0, 0, 0, 160));
    strip.setColor(QPalette::WindowText, Qt::white);
    notice_->setPalette(strip);
    notice_->setContentsMargins(kNoticePadding, kNoticePadding, kNoticePadding, kNoticePadding);
    notice_->setAttribute(Qt::WA_TransparentForMouseEvents);
    // A narrow panel (a skin's own size) takes the line on two rows rather than cutting it.
    notice_->setWordWrap(true);
    notice_->hide();
}

void TPreviewPanel::ShowNotice(const QString& text) {
    notice_->setText(text);
    PlaceNotice();
    // Above the still picture that covers the panel while nothing plays.
    notice_->raise();
    notice_->show();
    noticeTimer_.start();
}

QString TPreviewPanel::Notice() const {
    return notice_->isVisibleTo(this) ? notice_->text() : QString();
}

void TPreviewPanel::PlaceNotice() {
    const int lineHeight = notice_->heightForWidth(width());
    notice_->setGeometry(0, height() - lineHeight, width(), lineHeight);
}

void TPreviewPanel::ClearFrame() {
    {
        std::lock_guard lock(pendingMutex_);
        pending_ = QImage();
    }
    frame_ = QImage();
    update();
}

void TPreviewPanel::PresentThunk(void* owner, const void* pixels, int width, int height,
                                 size_t stride) {
    static_cast<TPreviewPanel*>(owner)->Present(pixels, width, height, stride);
}

void TPreviewPanel::SizeThunk(void* owner, int* width, int* height) {
    // Render thread: reads the size the user-interface thread last stored.
    auto* self = static_cast<TPreviewPanel*>(owner);
    if (width) {
        *width = self->width_.load();
    }
    if (height) {
        *height = self->height_.load();
    }
}

void TPreviewPanel::Present(const void* pixels, int width, int height, size_t stride) {
    // Render thread: the library's buffer is reused after we return, so its rows are copied
    // into an image of our own under the lock; only that image crosses to the user-interface
    // thread, through one queued call however many frames arrive before it runs.
    if (!pixels || width <= 0 || height <= 0 || stride < static_cast<size_t>(width) * 4) {
        return;
    }
    QImage copy(width, height, QImage::Format_RGB32);
    const auto* source = static_cast<const uchar*>(pixels);
    for (int y = 0; y < height; ++y) {
        std::memcpy(copy.scanLine(y), source + static_cast<size_t>(y) * stride,
                    static_cast<size_t>(width) * 4);
    }
    ++presented_;
    bool post = false;
    {
        std::lock_guard lock(pendingMutex_);
        if (!pending_.isNull()) {
            ++replaced_;
        }
        pending_ = std::move(copy);
        post = !takePosted_;
        takePosted_ = true;
    }
    if (post) {
        QueueCall(this, [this] { TakePendingFrame(); });
    }
}

void TPreviewPanel::TakePendingFrame() {
    {
        std::lock_guard lock(pendingMutex_);
        takePosted_ = false;
        if (pending_.isNull()) {
            return;
        }
        frame_ = std::move(pending_);
        pending_ = QImage();
    }
    ++shown_;
    update();
    emit FrameArrived();
}

void TPreviewPanel::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (frame_.isNull()) {
        painter.fillRect(event->rect(), Qt::black);
        return;
    }
    // The library renders at the panel's size; a frame made before a resize is scaled once.
    painter.drawImage(rect(), frame_);
}

void TPreviewPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlaceNotice();
    width_ = width();
    height_ = height();
}
