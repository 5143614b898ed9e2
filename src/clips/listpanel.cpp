#include "listpanel.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QResizeEvent>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>

#include "app/pubfunction.h"
#include "clips/clipaccessible.h"
#include "clips/image_item.h"
#include "clips/listaccessible.h"
#include "dero_window.h"
#include "platform/messagemap.h"
#include "platform/scaledpicture.h"
#include "skin/focusframe.h"
#include "skin/image.h"
#include "skin/imagebutton.h"

namespace {

constexpr int kFirstRepeatMs = 1000;
constexpr int kNextRepeatMs = 500;

void InstallListAccessibility() {
    QAccessible::installFactory(&TListAccessible::Create);
    QAccessible::installFactory(&TClipAccessible::Create);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallListAccessibility)

TListPanel::TListPanel(QWidget* parent)
    : QWidget(parent), content_(new QWidget(this)), scrollBar_(new QWidget(this)) {
    content_->setAutoFillBackground(true);
    scrollBar_->resize(0, 0);
    setFocusPolicy(Qt::TabFocus);
    new TFocusFrame(this);
}

TListPanel::~TListPanel() {
    if (repeatTimer_) {
        repeatTimer_->stop();
    }
    DestroyItems(true);
    DestroyItems(false);
}

// ---- skin set-up ----

bool TListPanel::SetThumbBitmap(const QImage& strip) {
    if (strip.isNull()) {
        return false;
    }
    if (!thumb_) {
        thumb_ = new TImageButton(scrollBar_);
        thumb_->setFocusPolicy(Qt::NoFocus);
        thumb_->setObjectName(QStringLiteral("Thumb"));
        thumb_->setAccessibleName(QStringLiteral("Scroll the clip list"));
        connect(thumb_, &TImageButton::MouseDown, this,
                [this](Qt::MouseButton button, const QPoint&, const QPoint& globalPos) {
                    if (button == Qt::LeftButton) {
                        ThumbMouseDown(globalPos);
                    }
                });
        connect(thumb_, &TImageButton::MouseMove, this,
                [this](Qt::MouseButtons, const QPoint&, const QPoint& globalPos) {
                    ThumbMouseMove(globalPos);
                });
        connect(thumb_, &TImageButton::MouseUp, this,
                [this](Qt::MouseButton button, const QPoint&, const QPoint&) {
                    if (button == Qt::LeftButton) {
                        thumbHeld_ = false;
                    }
                });
    }
    const QSize size = PictureSize(strip);
    return thumb_->LoadStateStrip(strip, size.width() / 3, size.height(), false, true, true, false);
}

bool TListPanel::SetButtonBitmap(QPointer<TImageButton>& button, const QImage& strip) {
    if (strip.isNull()) {
        delete button.data();
        return true;
    }
    if (!button) {
        const bool up = &button == &upButton_;
        button = new TImageButton(scrollBar_);
        button->setFocusPolicy(Qt::NoFocus);
        button->setObjectName(up ? QStringLiteral("UpButton") : QStringLiteral("DownButton"));
        button->setAccessibleName(up ? QStringLiteral("Scroll up") : QStringLiteral("Scroll down"));
        connect(
            button, &TImageButton::MouseDown, this,
            [this, up](Qt::MouseButton, const QPoint&, const QPoint&) { ScrollButtonDown(up); });
        connect(button, &TImageButton::MouseUp, this,
                [this](Qt::MouseButton, const QPoint&, const QPoint&) { ScrollButtonUp(); });
    }
    const QSize size = PictureSize(strip);
    return button->LoadStateStrip(strip, size.width() / 3, size.height(), false, true, true, false);
}

bool TListPanel::SetUpButtonBitmap(const QImage& strip) {
    return SetButtonBitmap(upButton_, strip);
}

bool TListPanel::SetDownButtonBitmap(const QImage& strip) {
    return SetButtonBitmap(downButton_, strip);
}

bool TListPanel::SetTrackBitmap(const QImage& picture) {
    if (picture.isNull()) {
        return false;
    }
    if (!track_) {
        track_ = new TImage(scrollBar_);
        track_->setObjectName(QStringLiteral("Track"));
        track_->SetStretch(true);
        track_->lower();
        connect(track_, &TImage::MouseDown, this,
                [this](Qt::MouseButton, const QPoint& pos, const QPoint&) { TrackMouseDown(pos); });
    }
    track_->SetPicture(picture);
    return true;
}

bool TListPanel::SetBackgroundBitmap(const QImage& picture) {
    if (picture.isNull()) {
        return false;
    }
    background_ = picture;
    return true;
}

void TListPanel::SetBottomBitmap(const QImage& picture) {
    if (picture.isNull()) {
        delete bottom_.data();
        return;
    }
    if (!bottom_) {
        bottom_ = new TImage(content_);
        bottom_->setObjectName(QStringLiteral("BottomImage"));
        // Clicks on the picture belong to the items beneath it.
        bottom_->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    bottom_->SetPicture(picture);
    bottom_->resize(PictureSize(picture));
    bottom_->show();
    PlaceBottomImage();
}

bool TListPanel::HasScrollBar() const {
    return track_ && thumb_ && !background_.isNull() && bool(upButton_) == bool(downButton_);
}

bool TListPanel::LayOut() {
    if (!HasScrollBar()) {
        return false;
    }
    const int barWidth = PictureSize(track_->Picture()).width();
    scrollBar_->setGeometry(width() - barWidth, 0, barWidth, height());
    scrollBar_->show();
    track_->setGeometry(scrollBar_->rect());
    thumb_->move(0, 0);
    thumbTopMin_ = upButton_ ? upButton_->height() : 0;
    UpdateThumbRange();
    SetThumbTop(thumbTopMin_);

    QPalette palette = content_->palette();
    palette.setColor(QPalette::Window, background_.pixelColor(0, 0));
    content_->setPalette(palette);
    LayOutItems();
    return true;
}

void TListPanel::UpdateThumbRange() {
    scrollBar_->setGeometry(width() - scrollBar_->width(), 0, scrollBar_->width(), height());
    if (track_) {
        track_->setGeometry(scrollBar_->rect());
    }
    thumbTopMax_ = scrollBar_->height() - (thumb_ ? thumb_->height() : 0);
    if (upButton_ && downButton_) {
        upButton_->move(0, 0);
        downButton_->move(0, scrollBar_->height() - downButton_->height());
        thumbTopMax_ -= downButton_->height();
    }
}

void TListPanel::resizeEvent(QResizeEvent*) {
    if (!HasScrollBar()) {
        content_->resize(width(), height());
        return;
    }
    UpdateThumbRange();
    SetThumbTop(thumb_->y());
    ApplyScrollPosition();
}

void TListPanel::SetThumbTop(int top) {
    if (thumb_) {
        thumb_->move(0, Clamp(top, thumbTopMin_, thumbTopMax_));
    }
}

// ---- layout and scrolling ----

void TListPanel::LayOutItems() {
    for (size_t i = 0; i < items_.size(); ++i) {
        Image_Item* item = items_[i];
        const QPoint place(Image_Item::ItemLeft, static_cast<int>(i) * ItemPitch + TopMargin);
        if (item->pos() != place) {
            item->move(place);
        }
        if (item->isHidden()) {
            item->show();
        }
    }
    ApplyScrollPosition();
}

void TListPanel::ApplyScrollPosition() {
    // The list scrolls in whole items, and the content's bottom always meets the visible bottom.
    const int range = thumbTopMax_ - thumbTopMin_;
    const float fraction =
        thumb_ && range > 0 ? static_cast<float>(thumb_->y() - thumbTopMin_) / range : 0.0f;
    const int shift = static_cast<int>(fraction * ContentSteps()) * ItemPitch;
    const int contentWidth = width() - scrollBar_->width();
    content_->setGeometry(0, -shift, contentWidth, shift + height());
    PlaceBottomImage();
}

void TListPanel::PlaceBottomImage() {
    if (!bottom_) {
        return;
    }
    bottom_->setGeometry(0, content_->height() - bottom_->height(), content_->width(),
                         bottom_->height());
    bottom_->raise();
}

void TListPanel::ThumbMouseDown(const QPoint& globalPos) {
    thumbHeld_ = true;
    dragStartY_ = globalPos.y();
    dragStartTop_ = thumb_->y();
}

void TListPanel::ThumbMouseMove(const QPoint& globalPos) {
    if (!thumbHeld_) {
        return;
    }
    SetThumbTop(dragStartTop_ + globalPos.y() - dragStartY_);
    ApplyScrollPosition();
}

void TListPanel::TrackMouseDown(const QPoint& pos) {
    if (!thumb_) {
        return;
    }
    const int offset = Clamp(pos.y() - thumb_->height() / 2, 0, thumbTopMax_ - thumbTopMin_);
    SetThumbTop(thumbTopMin_ + offset);
    ApplyScrollPosition();
}

int TListPanel::ScrollSteps() const {
    return (ContentHeight() - height()) / ItemPitch + 1;
}

void TListPanel::ScrollByButton() {
    const int steps = ScrollSteps();
    if (steps < 1 || !thumb_) {
        return;
    }
    const int move = (thumbTopMax_ - thumbTopMin_) / steps;
    const int before = ScrolledSteps();
    SetThumbTop(thumb_->y() + (scrollUp_ ? -move : move));
    ApplyScrollPosition();
    // The thumb's move, cut to whole pixels, can fall just short of the next item, and then a
    // press moved the thumb but not the list; a press always brings the next item in.
    if (ScrolledSteps() == before) {
        ScrollToStep(before + (scrollUp_ ? -1 : 1));
    }
}

void TListPanel::ScrollButtonDown(bool up) {
    if (ScrollSteps() < 1) {
        return;
    }
    scrollUp_ = up;
    ScrollByButton();
    if (!repeatTimer_) {
        repeatTimer_ = new QTimer(this);
        connect(repeatTimer_, &QTimer::timeout, this, &TListPanel::RepeatTick);
    }
    repeatTimer_->start(kFirstRepeatMs);
}

void TListPanel::RepeatTick() {
    repeatTimer_->setInterval(kNextRepeatMs);
    if (ScrollSteps() < 1) {
        repeatTimer_->stop();
        return;
    }
    ScrollByButton();
}

void TListPanel::ScrollButtonUp() {
    if (repeatTimer_) {
        repeatTimer_->stop();
    }
}

// ---- the list ----

void TListPanel::AddItem(Image_Item* item) {
    if (!item) {
        return;
    }
    items_.push_back(item);
    item->setParent(content_);
    connect(item, &Image_Item::MouseDown, this, &TListPanel::ItemMouseDown);
    connect(item, &Image_Item::MouseUp, this, &TListPanel::ItemMouseUp);
    connect(item, &Image_Item::DoubleClicked, this, &TListPanel::ItemDoubleClick);
    LayOutItems();
    if (items_.size() == 1) {
        item->MarkSelected();
        anchor_ = item->y();
        AnnounceSelection(item);
    } else {
        item->MarkUnselected();
    }
    // Show the new clip now rather than at the next pass of the event loop.
    if (item->isVisible()) {
        item->repaint();
    }
}

Image_Item* TListPanel::GetItem(int index) const {
    return index >= 0 && index < Count() ? items_[static_cast<size_t>(index)] : nullptr;
}

Image_Item* TListPanel::Current() const {
    if (current_) {
        return current_;
    }
    const std::vector<Image_Item*> selection = Selection();
    return selection.empty() ? nullptr : selection.front();
}

int TListPanel::IndexOf(const Image_Item* item) const {
    const auto found = std::find(items_.begin(), items_.end(), item);
    return found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
}

const ClipRecord* TListPanel::ClipAt(int32_t index) const {
    const Image_Item* item = GetItem(index);
    return item ? &item->Clip() : nullptr;
}

std::vector<Image_Item*> TListPanel::Selection() const {
    std::vector<Image_Item*> selection;
    std::copy_if(items_.begin(), items_.end(), std::back_inserter(selection),
                 [](const Image_Item* item) { return item->Selected(); });
    return selection;
}

Image_Item* TListPanel::GetFirstSelected() {
    const std::vector<Image_Item*> selection = Selection();
    if (selection.empty()) {
        if (items_.empty()) {
            return nullptr;
        }
        items_.front()->MarkSelected();
        return items_.front();
    }
    std::for_each(selection.begin() + 1, selection.end(),
                  [](Image_Item* item) { item->MarkUnselected(); });
    return selection.front();
}

void TListPanel::DestroyItems(bool selected) {
    std::vector<Image_Item*> kept;
    for (Image_Item* item : items_) {
        if (item->Selected() == selected) {
            delete item;
        } else {
            kept.push_back(item);
        }
    }
    items_ = std::move(kept);
}

void TListPanel::RemoveSelected() {
    DestroyItems(true);
    LayOutItems();
    anchor_ = -1;
    AnnounceSelection(nullptr);
}

void TListPanel::CropSelected() {
    DestroyItems(false);
    LayOutItems();
    anchor_ = -1;
}

void TListPanel::ClearAll() {
    DestroyItems(true);
    DestroyItems(false);
    LayOutItems();
    anchor_ = -1;
    AnnounceSelection(nullptr);
}

bool TListPanel::SetTrim(Image_Item* item, int32_t start, int32_t stop) {
    return item && item->SetTrim(start, stop);
}

// ---- mouse on the items ----

void TListPanel::ItemMouseDown(Image_Item* item, Qt::MouseButton button,
                               Qt::KeyboardModifiers modifiers) {
    const int top = item->y();
    if (modifiers & Qt::ShiftModifier) {
        if (anchor_ != -1) {
            for (Image_Item* selected : Selection()) {
                selected->MarkUnselected();
            }
            const int low = std::min(anchor_, top);
            const int high = std::max(anchor_, top);
            for (Image_Item* each : items_) {
                if (each->y() >= low && each->y() <= high) {
                    each->MarkSelected();
                }
            }
        } else {
            anchor_ = top;
        }
        item->MarkSelected();
    } else {
        if (modifiers & Qt::ControlModifier) {
            item->Selected() ? item->MarkUnselected() : item->MarkSelected();
        } else if (button == Qt::LeftButton) {
            for (Image_Item* selected : Selection()) {
                selected->MarkUnselected();
            }
            item->MarkSelected();
        } else if (button == Qt::RightButton && Selection().empty()) {
            item->MarkSelected();
        }
        anchor_ = top;
    }
    current_ = item;
    AnnounceSelection(item);
}

// ---- keyboard on the items ----

void TListPanel::keyPressEvent(QKeyEvent* event) {
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    const int at = IndexOf(Current());
    switch (event->key()) {
        case Qt::Key_Up:
            StepTo(at - 1, extend);
            break;
        case Qt::Key_Down:
            StepTo(at + 1, extend);
            break;
        case Qt::Key_Home:
            StepTo(0, extend);
            break;
        case Qt::Key_End:
            StepTo(Count() - 1, extend);
            break;
        case Qt::Key_Delete:
            if (!Selection().empty()) {
                RemoveSelected();
            }
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (Current()) {
                AnnouncePreview();
            }
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
}

void TListPanel::StepTo(int index, bool extend) {
    if (items_.empty()) {
        return;
    }
    index = std::clamp(index, 0, Count() - 1);
    Image_Item* item = items_[static_cast<size_t>(index)];
    if (extend && anchor_ != -1) {
        const int low = std::min(anchor_, item->y());
        const int high = std::max(anchor_, item->y());
        for (Image_Item* each : items_) {
            const bool inside = each->y() >= low && each->y() <= high;
            if (inside != each->Selected()) {
                inside ? each->MarkSelected() : each->MarkUnselected();
            }
        }
    } else {
        for (Image_Item* selected : Selection()) {
            if (selected != item) {
                selected->MarkUnselected();
            }
        }
        if (!item->Selected()) {
            item->MarkSelected();
        }
        anchor_ = item->y();
    }
    current_ = item;
    ScrollIntoView(index);
    AnnounceFocus(item);
    AnnounceSelection(item);
}

void TListPanel::ScrollIntoView(int index) {
    const int steps = ContentSteps();
    if (!thumb_ || steps == 0 || thumbTopMax_ <= thumbTopMin_) {
        return;
    }
    const int first = ScrolledSteps();
    const int rows = std::max(1, height() / ItemPitch);
    int target = first;
    if (index < first) {
        target = index;
    } else if (index >= first + rows) {
        target = index - rows + 1;
    }
    target = std::clamp(target, 0, steps);
    if (target != first) {
        ScrollToStep(target);
    }
}

int TListPanel::ContentSteps() const {
    return std::max(0, (ContentHeight() + TopMargin - height()) / ItemPitch);
}

int TListPanel::ScrolledSteps() const {
    return -content_->y() / ItemPitch;
}

void TListPanel::ScrollToStep(int step) {
    const int steps = ContentSteps();
    const int range = thumbTopMax_ - thumbTopMin_;
    if (!thumb_ || steps == 0 || range <= 0) {
        return;
    }
    step = std::clamp(step, 0, steps);
    // The scroll position is read back from the thumb, truncated; round its place up so that
    // it reads back as the step aimed at.
    SetThumbTop(thumbTopMin_ + (step * range + steps - 1) / steps);
    ApplyScrollPosition();
}

void TListPanel::wheelEvent(QWheelEvent* event) {
    // One item per notch; a touchpad's small deltas add up to notches.
    constexpr int kNotch = 120;
    wheelRest_ += event->angleDelta().y();
    const int notches = wheelRest_ / kNotch;
    wheelRest_ -= notches * kNotch;
    if (notches != 0) {
        ScrollToStep(ScrolledSteps() - notches);
    }
    event->accept();
}

void TListPanel::AnnounceFocus(Image_Item* item) {
    if (hasFocus() && QAccessible::isActive()) {
        QAccessibleEvent event(item, QAccessible::Focus);
        QAccessible::updateAccessibility(&event);
    }
}

void TListPanel::ItemMouseUp(Image_Item* item, Qt::MouseButton button, const QPoint& globalPos) {
    if (button == Qt::RightButton && item->rect().contains(item->mapFromGlobal(globalPos))) {
        ShowPopupMenu(globalPos);
    }
}

void TListPanel::ItemDoubleClick() {
    AnnouncePreview();
}

void TListPanel::ShowPopupMenu(const QPoint& globalPos) {
    if (!popup_) {
        popup_ = new QMenu(this);
        const auto addEntry = [this](const QString& caption, const QString& name) {
            popup_->addAction(caption)->setObjectName(name);
        };
        addEntry(QStringLiteral("Preview clip"), QStringLiteral("Preview"));
        popup_->addSeparator();
        addEntry(QStringLiteral("Remove clip(s)"), QStringLiteral("Remove"));
        addEntry(QStringLiteral("Crop clip(s)"), QStringLiteral("Crop"));
        addEntry(QStringLiteral("Clear clip(s)"), QStringLiteral("Clear"));
        connect(popup_, &QMenu::triggered, this,
                [this](QAction* action) { PopupMenuClick(action->objectName()); });
    }
    // Not exec(): a nested event loop inside the item's own mouse handler would let "Remove"
    // destroy the item while its handler is still running.
    popup_->popup(globalPos);
}

void TListPanel::PopupMenuClick(const QString& entryName) {
    if (entryName == QLatin1String("Preview")) {
        AnnouncePreview();
    } else if (entryName == QLatin1String("Remove")) {
        RemoveSelected();
    } else if (entryName == QLatin1String("Crop")) {
        CropSelected();
    } else if (entryName == QLatin1String("Clear")) {
        ClearAll();
    }
}

void TListPanel::AnnounceSelection(Image_Item* item) {
    SendMessage(parent(), WM_CLIP_SELECTED, reinterpret_cast<uintptr_t>(item), 0);
}

void TListPanel::AnnouncePreview() {
    SendMessage(parent(), WM_PREVIEW_CLIP, 0, 0);
}
