#pragma once

#include <QAccessibleWidget>

class Image_Item;

// One clip as assistive technology hears it: a list item named by the clip's file name and its
// start and stop times, selectable, selected as the list shows it. Its parent is the list
// itself, not the scrolling panel the item lies on.
class TClipAccessible : public QAccessibleWidget {
  public:
    explicit TClipAccessible(Image_Item* item);

    static QAccessibleInterface* Create(const QString& className, QObject* object);
    // "name.avi, start 0:00:05, stop 0:01:10"
    static QString NameOf(const Image_Item& item);

    QAccessibleInterface* parent() const override;
    QString text(QAccessible::Text type) const override;
    QAccessible::State state() const override;

  private:
    Image_Item* Item() const;
};
