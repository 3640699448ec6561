// The registration window for new companies, shown modally from the login window. Every
// showing opens an anonymous access session; the user enters the account, the password twice,
// the company, its seat city (from an area picker), a mobile number and the verification code
// the service sends to it. The entries are checked in a fixed order before the registration
// is sent; a successful one closes the window with 1, and the login window takes the account.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QString>
#include <QWidget>

#include "Korvane/TMYResult.h"
#include "app/TFormBase.h"
#include "app/TGlowButton.h"
#include "windows/editor/TFormArea.h"

class TFormRegist : public TFormBase {
  Q_OBJECT

 public:
  explicit TFormRegist(QWidget* parent = nullptr);

  QWidget* Panel1;
  QLineEdit* txt_account;
  QLineEdit* txt_password;
  QLineEdit* txt_repassword;
  QLineEdit* txt_company;
  TAreaEdit* txt_seat;  // the seat city's name; its hidden value is the city's area code
  QLineEdit* txt_mobile;
  QLineEdit* txt_verify;
  TGlowButton* btn_seat_choose;
  TGlowButton* btn_seat_del;
  TGlowButton* AdvGlowButton1;  // 注册
  TGlowButton* AdvGlowButton2;  // 取消
  TGlowButton* AdvGlowButton3;  // 获取验证码

 public slots:
  void btn_seat_chooseClick();
  void btn_seat_delClick();
  void AdvGlowButton1Click();
  void AdvGlowButton2Click();
  void AdvGlowButton3Click();

 protected:
  void FormCreate() override;
  void FormShow() override;
  void EditEnter(QLineEdit* edit);
  void EditExit(QLineEdit* edit);
  // Whether a typed character may go into the box.
  bool txt_accountKeyPress(const QString& character);
  bool txt_mobileKeyPress(const QString& character);

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildContent();
  QLineEdit* addRow(int top, const QString& label, QLineEdit* edit, const char* name);
  void addMarks();
  void buildButtons();
  QList<QLineEdit*> edits() const;
  // A key press or committed input that the box's filter refuses; false for the other boxes.
  bool refusedInput(QObject* watched, QEvent* event);
  // The first failing check of the entries shows its message, moves the focus and gives
  // false.
  bool entriesPass();
  bool checkEntry(bool failed, const QString& caption, const QString& text, QLineEdit* focus);
  void showRegistrationFailure(const Korvane::TMYResult& result);
};
