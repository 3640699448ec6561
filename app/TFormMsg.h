// The client's one message box: a notice with one button, or a question with OK and Cancel,
// drawn with the frameless frame. It grows in height with its text and answers 1 (OK),
// 2 (Cancel or the close button) or 0 (a box was already on screen).
#pragma once

#include <QLabel>
#include <QString>
#include <QWidget>

#include "app/TFormBase.h"
#include "app/TGlowButton.h"

class TFormMsg : public TFormBase {
  Q_OBJECT

 public:
  explicit TFormMsg(QWidget* parent = nullptr);

  // A notice. buttonCaption "确认" is a plain notice; "体验新版", "立即领取" and "尝试修复" make
  // the button carry out an action before it closes the box.
  int showInfo(const QString& caption, const QString& text, const QString& buttonCaption);
  // A question with "确认" and "取消".
  int showConfirm(const QString& caption, const QString& text);
  // Sizes the box for a text: 12 pixels for every line after the first, 8 for every wrapped
  // row (35 bytes of code page 936) of a line.
  void fitToText(const QString& text);

  QWidget* Panel1;
  QLabel* Label1;
  TGlowButton* btn_ok;
  TGlowButton* btn_cancel;

 protected:
  void FormCreate() override;

 private slots:
  void btn_okClick();
  void btn_cancelClick();

 private:
  void showMessage(const QString& caption, const QString& text);
};
