#pragma once

#include <QWidget>

class QToolButton;

// A pair of arrow buttons that counts a position within a range, for an edit beside it. It is
// not linked to that edit: its owner copies the position into the edit on Click and sets the
// position from the edit's text, so the owner's rules for the text decide.
class TUpDown : public QWidget {
    Q_OBJECT
  public:
    enum class TButton { Up, Down };

    explicit TUpDown(QWidget* parent = nullptr);

    void SetRange(int minimum, int maximum);
    int Minimum() const { return minimum_; }
    int Maximum() const { return maximum_; }
    // Limited to the range; setting it from code does not emit Click.
    void SetPosition(int position);
    int Position() const { return position_; }
    // At a limit the position stays there instead of wrapping to the other end.
    bool Wrap() const { return false; }

    // What a click on an arrow does: one step, then Click.
    void Step(TButton button);

  signals:
    void Click(TUpDown::TButton button);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    QToolButton* MakeArrow(Qt::ArrowType arrow, TButton button);

    QToolButton* up_;
    QToolButton* down_;
    int minimum_ = 0;
    int maximum_ = 100;
    int position_ = 0;
};
