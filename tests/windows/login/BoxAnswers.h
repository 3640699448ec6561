// Answers the message boxes of FormMsg while a test runs: each box that comes on screen is
// recorded (title, text, button caption, whether "取消" is offered) and answered with the next
// of the given answers, OK once they run out.
#pragma once

#include <QList>
#include <QEvent>
#include <QObject>
#include <QString>
#include <QTimer>

#include "app/Forms.h"
#include "app/TFormBase.h"
#include "app/TFormMsg.h"

struct ShownBox {
  QString caption;
  QString text;  // as the box shows it: line breaks as LF
  QString button;
  bool withCancel = false;
};

// A text with CR LF line breaks as the box shows it.
inline QString AsShown(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return text;
}

class BoxAnswers : public QObject {
 public:
  // Answers: TFormBase::mrOk presses the OK button, mrCancel presses "取消" (or closes the box
  // with its close button when it has no "取消").
  explicit BoxAnswers(QList<int> answers = {}) : answers_(std::move(answers)) {
    FormMsg->installEventFilter(this);
    timer_.setInterval(5);
    connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
    timer_.start();
  }
  ~BoxAnswers() override { FormMsg->removeEventFilter(this); }

  const QList<ShownBox>& boxes() const { return boxes_; }

 protected:
  // Every showing of the box is answered once, however quickly the next one follows.
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == FormMsg && event->type() == QEvent::Show) unanswered_ = true;
    return false;
  }

 private:
  void poll() {
    if (!unanswered_ || !FormMsg->isVisible()) return;
    unanswered_ = false;
    ShownBox box;
    box.caption = FormMsg->Label_title->text();
    box.text = FormMsg->Label1->text();
    box.button = FormMsg->btn_ok->text();
    box.withCancel = !FormMsg->btn_cancel->isHidden();
    boxes_.append(box);
    const int answer = answers_.isEmpty() ? TFormBase::mrOk : answers_.takeFirst();
    if (answer == TFormBase::mrOk)
      FormMsg->btn_ok->click();
    else if (box.withCancel)
      FormMsg->btn_cancel->click();
    else
      FormMsg->Img_closeClick();
  }

  QList<int> answers_;
  QList<ShownBox> boxes_;
  QTimer timer_;
  bool unanswered_ = false;
};
