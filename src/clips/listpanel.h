#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <vector>

#include <QMenu>
#include <QTimer>

#include "app/cliprecord.h"
#include "app/clipsource.h"
#include "skin/image.h"
#include "skin/imagebutton.h"

class Image_Item;

// The clip list (the main window's TP_ImageList): the clips in the order they were added, one
// Image_Item each, on a content panel that scrolls in whole items under a skinned scroll bar.
// Selection changes and preview requests go to the parent window's message map, synchronously:
// WM_CLIP_SELECTED with wParam the clicked Image_Item* (0 after a removal or clearing) and
// WM_PREVIEW_CLIP. Cropping announces nothing, so a window that keeps an item pointer should
// hold it as a QPointer.
//
// From the keyboard (a Tab stop) the arrow keys move the current clip and select it alone, with
// Shift extending the selection from the anchor; Home and End go to the ends, Delete removes
// the selection, Return previews; the current clip is scrolled into view and announced as a
// click on it would be.
class TListPanel : public QWidget, public TClipSource {
    Q_OBJECT
  public:
    static constexpr int ItemPitch = 66;
    static constexpr int TopMargin = 2;

    explicit TListPanel(QWidget* parent = nullptr);
    ~TListPanel() override;

    // Skin set-up; the strips hold three equal frames side by side (normal, hover, down).
    bool SetThumbBitmap(const QImage& strip);
    // A null strip removes the button; otherwise false when the strip cannot be cut.
    bool SetUpButtonBitmap(const QImage& strip);
    bool SetDownButtonBitmap(const QImage& strip);
    bool SetTrackBitmap(const QImage& picture);
    // Only its top-left pixel is used: the colour behind the items.
    bool SetBackgroundBitmap(const QImage& picture);
    // Optional picture kept at the bottom of the visible list, over the items.
    void SetBottomBitmap(const QImage& picture);
    // Arranges the scroll bar after the size is set. False unless track, thumb and background
    // exist and the two scroll buttons are both present or both absent.
    bool LayOut();

    // Appends a filled item (null is ignored). The first clip of an empty list is selected and
    // announced.
    void AddItem(Image_Item* item);
    // Null outside 0 .. Count() - 1.
    Image_Item* GetItem(int index) const;
    int Count() const { return static_cast<int>(items_.size()); }
    // The first selected item, every later selected one unselected; with none selected the first
    // item becomes selected. Null for an empty list.
    Image_Item* GetFirstSelected();
    void RemoveSelected();
    void CropSelected();
    void ClearAll();
    // Trims item to start .. stop seconds (see Image_Item::SetTrim); false when refused.
    bool SetTrim(Image_Item* item, int32_t start, int32_t stop);

    const ClipRecord* ClipAt(int32_t index) const override;
    // The clip the keyboard is on: the last one clicked or stepped to, else the first selected.
    Image_Item* Current() const;

    // The parts, for the window that owns the panel and for inspection.
    int Anchor() const { return anchor_; }
    int ContentHeight() const { return Count() * ItemPitch; }
    QWidget* ContentPanel() const { return content_; }
    QWidget* ScrollBarPanel() const { return scrollBar_; }
    TImageButton* Thumb() const { return thumb_; }
    TImageButton* UpButton() const { return upButton_; }
    TImageButton* DownButton() const { return downButton_; }
    TImage* Track() const { return track_; }
    TImage* BottomImage() const { return bottom_; }
    QMenu* PopupMenu() const { return popup_; }
    int ThumbTopMin() const { return thumbTopMin_; }
    int ThumbTopMax() const { return thumbTopMax_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    std::vector<Image_Item*> Selection() const;
    void LayOutItems();
    void ApplyScrollPosition();
    void PlaceBottomImage();
    void UpdateThumbRange();
    void SetThumbTop(int top);
    bool HasScrollBar() const;
    void DestroyItems(bool selected);

    void ItemMouseDown(Image_Item* item, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void ItemMouseUp(Image_Item* item, Qt::MouseButton button, const QPoint& globalPos);
    void ItemDoubleClick();
    void ShowPopupMenu(const QPoint& globalPos);
    void PopupMenuClick(const QString& entryName);

    void ThumbMouseDown(const QPoint& globalPos);
    void ThumbMouseMove(const QPoint& globalPos);
    void TrackMouseDown(const QPoint& pos);
    void ScrollButtonDown(bool up);
    void ScrollButtonUp();
    void RepeatTick();
    int ScrollSteps() const;
    void ScrollByButton();
    bool SetButtonBitmap(QPointer<TImageButton>& button, const QImage& strip);

    int IndexOf(const Image_Item* item) const;
    void StepTo(int index, bool extend);
    void ScrollIntoView(int index);
    // Steps are whole items: how far the list can scroll, how far it is scrolled.
    int ContentSteps() const;
    int ScrolledSteps() const;
    void ScrollToStep(int step);
    void AnnounceFocus(Image_Item* item);
    void AnnounceSelection(Image_Item* item);
    void AnnouncePreview();

    std::vector<Image_Item*> items_;
    int anchor_ = -1;
    QPointer<Image_Item> current_;
    QWidget* content_;
    QWidget* scrollBar_;
    QPointer<TImage> track_;
    QPointer<TImageButton> thumb_;
    QPointer<TImageButton> upButton_;
    QPointer<TImageButton> downButton_;
    QPointer<TImage> bottom_;
    QImage background_;
    int thumbTopMin_ = 0;
    int thumbTopMax_ = 0;
    bool thumbHeld_ = false;
    int dragStartY_ = 0;
    int dragStartTop_ = 0;
    QPointer<QTimer> repeatTimer_;
    bool scrollUp_ = false;
    int wheelRest_ = 0;
    QPointer<QMenu> popup_;
};
