// The client's push button: a rounded, softly shaded face that lights up under the pointer,
// caption in 宋体 14 pixels. With automatic sizing on, the width follows the caption.
#pragma once

#include <QPushButton>
#include <QString>

class TGlowButton : public QPushButton {
  Q_OBJECT

 public:
  explicit TGlowButton(const QString& caption, QWidget* parent = nullptr);

  // Sets the caption; with automatic sizing on, the width becomes the caption's.
  void setCaption(const QString& caption);
  QString caption() const { return text(); }

  // Turning it on sizes the button to its caption at once.
  void setAutoSize(bool on);
  bool autoSize() const { return autoSize_; }

  // The width that fits the caption with the button's margins.
  int captionWidth() const;

 private:
  bool autoSize_ = false;
};
