// The fleet window: the client's main window after sign-in.
#pragma once

#include "app/TFormBase.h"

class TFormMain : public TFormBase {
  Q_OBJECT

 public:
  explicit TFormMain(QWidget* parent = nullptr);

  // The client version shown in the status bar; the login window sets it before showing
  // this window.
  QString versionText;

 protected:
  void FormCreate() override;
};
