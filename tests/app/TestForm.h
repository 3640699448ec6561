// A window of the frame alone, built as every derived window is, that counts its close-query
// and close handlers and can refuse to close.
#pragma once

#include "app/TFormBase.h"

class TTestForm : public TFormBase {
 public:
  enum class Look { Full, Compact, CompactWithoutMin, Borderless };

  explicit TTestForm(Look look = Look::Full, int width = 441, int height = 622) : look_(look) {
    setWindowTitle(QStringLiteral("测试窗口"));
    resize(width, height);
    FormCreate();
  }

  int closeQueries = 0;
  int closes = 0;
  bool mayClose = true;

 protected:
  void FormCreate() override {
    TFormBase::FormCreate();
    if (look_ == Look::Borderless) hideBorders();
    if (look_ != Look::Full) compactTitleBar();
    if (look_ == Look::CompactWithoutMin) hideMinButton();
  }
  bool FormCloseQuery() override {
    ++closeQueries;
    return mayClose;
  }
  void FormClose() override { ++closes; }

 private:
  Look look_;
};
