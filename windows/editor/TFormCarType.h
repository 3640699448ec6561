// The vehicle-type picker: one choice from each of the four type groups (trailer and axles,
// cargo body, special function, maker brand), and the catalogue that turns a type code back
// into its caption.
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QString>
#include <QWidget>

#include <string_view>
#include <vector>

#include "app/TFormBase.h"
#include "app/TGlowButton.h"

// A vehicle-type choice as the picker hands it over.
struct TCarType {
  // Captions of the checked boxes, group 1 to 4, joined by "," without empty entries.
  QString names;
  // Names of the checked boxes of groups 1 to 4 joined by ",": always four items, an item
  // empty when its group has no checked box.
  QString codes;
};

class TFormCarType : public TFormBase {
  Q_OBJECT

 public:
  static constexpr int kGroups = 4;

  explicit TFormCarType(QWidget* parent = nullptr);

  // Checks the boxes named by the four items of carType.codes (only when it splits into
  // exactly four items), then shows the window modally: 1 after "确定", 2 otherwise.
  int showCarType(const TCarType& carType);
  // The choice of the checked boxes.
  TCarType getCarType() const;
  // The caption of the box named `code` in groups 1 to 4; empty for an unknown code.
  QString getCaption(const QString& code) const;
  // The caption of the box named `code` in one group panel (1 to 4).
  QString findCaption(int group, const QString& code) const;

  // The catalogue's caption of a type code without a window: UTF-8, empty when unknown.
  static std::string_view CatalogueCaption(std::string_view code);

  // The boxes of a group (1 to 4) in display order.
  const std::vector<QCheckBox*>& groupBoxes(int group) const { return boxes_[group - 1]; }

  QWidget* RzPanel5;
  QWidget* RzPanel6;
  QWidget* RzPanel7;
  QWidget* RzPanel8;
  TGlowButton* btn_OK;
  TGlowButton* btn_cancel;

 public slots:
  void btn_OKClick();
  void btn_cancelClick();

 protected:
  void FormCreate() override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // The group rule: a box that became checked unchecks the other boxes of its group.
  void CM1Click(QCheckBox* box);
  void CM2Click(QCheckBox* box);
  void CM3Click(QCheckBox* box);
  void CM4Click(QCheckBox* box);
  void applyGroupRule(int group, QCheckBox* box);

  void buildGroup(int group, int left, int width, const char* header, bool required);
  QCheckBox* checkedBox(int group) const;

  std::vector<QCheckBox*> boxes_[kGroups];
};
