// The login window: the application's main window and the only one visible at start. It
// signs in with an account name or mobile number and a password, can remember the password
// and sign in at once at the next start, opens the registration window and the password-reset
// page, and starts the update check. After a successful sign-in it saves the sign-in
// settings, hides itself for the rest of the run and shows the fleet window.
#pragma once

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

#include "Korvane/TMYResult.h"
#include "app/TFormBase.h"
#include "app/TGlowButton.h"
#include "windows/auxiliary/TAutoUpgrader.h"

class TFormLogin : public TFormBase {
  Q_OBJECT

 public:
  // The message that hides the window once the message loop runs again (WM_USER).
  static constexpr QEvent::Type kWmUser = static_cast<QEvent::Type>(QEvent::User + 0x400);

  explicit TFormLogin(QWidget* parent = nullptr);

  QWidget* Panel1;
  QLabel* Image1;
  QLineEdit* txt_code;
  QLineEdit* txt_password;
  QCheckBox* cb_remember;
  QCheckBox* cb_autologin;
  TGlowButton* AdvGlowButton1;  // 登录
  TGlowButton* AdvGlowButton2;  // 忘记密码
  TGlowButton* AdvGlowButton3;  // 注册
  QLabel* RzLabel2;
  QLabel* RzLabel3;
  QLabel* RzLabel4;
  QLabel* RzLabel5;
  TAutoUpgrader* auAutoUpgrader;

 public slots:
  void AdvGlowButton1Click();
  void AdvGlowButton2Click();
  void AdvGlowButton3Click();
  void cb_rememberClick();
  void cb_autologinClick();

 protected:
  void FormCreate() override;
  void FormShow() override;
  void FormClose() override;
  void WMHide();
  void txt_codeEnter(QLineEdit* edit);
  void txt_codeExit(QLineEdit* edit);

  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildContent();
  void buildEdits();
  void buildButtons();
  void buildLabels();
  void signedIn();
  void showSignInFailure(const Korvane::TMYResult& result);
};
