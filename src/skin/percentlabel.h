#pragma once

#include <QLabel>

// The number beside a bar drawn from pictures: the bar's value in percent, shown as text and
// spoken to assistive technology as a progress bar (TPercentAccessible).
class TPercentLabel : public QLabel {
    Q_OBJECT
  public:
    explicit TPercentLabel(QWidget* parent = nullptr);

    // Shows percent and tells assistive technology the value changed.
    void SetPercent(int percent);
    int Percent() const { return percent_; }

  private:
    int percent_ = 0;
};
