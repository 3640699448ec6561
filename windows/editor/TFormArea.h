// The area picker: the whole country, its provinces and their cities in a tree with check
// boxes. The ticked areas become two texts in txt_area: the area names for display (its text)
// and the area codes for the service (its hidden value).
//
// A caller creates a picker (or uses FormArea), sets onlyOneCity when exactly one city is
// wanted, puts its current names into txt_area's text and its codes into txt_area's hidden
// value, shows the picker modally and takes both back only when it closes with OK (1).
#pragma once

#include <QLineEdit>
#include <QRect>
#include <QString>
#include <QStringList>

#include "app/TFormBase.h"
#include "app/TGlowButton.h"

class QEvent;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

// An edit box of area names that carries the matching area codes as its hidden value.
class TAreaEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit TAreaEdit(QWidget* parent = nullptr) : QLineEdit(parent) {}

  QString hiddenValue() const { return hiddenValue_; }
  void setHiddenValue(const QString& value) { hiddenValue_ = value; }

 private:
  QString hiddenValue_;
};

class TFormArea : public TFormBase {
  Q_OBJECT

 public:
  // Check states of the tree's nodes.
  enum TCheckState { csUnchecked = 1, csChecked = 2, csPartlyChecked = 3 };

  explicit TFormArea(QWidget* parent = nullptr);

  // Single-city mode: at most one node may be checked, and only a node without children.
  bool onlyOneCity = false;

  // "code name" lines, in ascending code order; a code with "00" as its third and fourth
  // digits is a province, any other a city of the province with the same first two digits.
  QStringList areaList;

  // The codes text of a names text: each name's codes joined by ","; "全国" and "" give "".
  QString getAreaCodes(const QString& names) const;
  // A city's code; a province's city codes joined by ","; a municipality's own code; "" for
  // a name not in the table.
  QString getAreaCode(const QString& name) const;
  // The codes of all city lines of the province with these first two code digits.
  QString getCityCodes(const QString& provinceDigits) const;
  // The selection text of a subtree: every name followed by ","; a node whose children are
  // all checked is given by its own name alone.
  QString getCheckedNames(QTreeWidgetItem* node) const;
  // Checks the first node (in display order) named by each item of a ","-separated text;
  // only those nodes change.
  void checkNames(const QString& names);

  // The tree's root node "全国".
  QTreeWidgetItem* rootNode() const;
  // The first node in display order whose text is `text`, or nullptr.
  QTreeWidgetItem* findNode(const QString& text) const;
  // A node's check state: csUnchecked, csChecked or csPartlyChecked.
  int nodeState(QTreeWidgetItem* node) const;
  // Where the node's check box is drawn, in the coordinates of the tree's viewport.
  QRect checkBoxRect(QTreeWidgetItem* node) const;
  // What a click on a node's check box or the Space key does: checked becomes unchecked,
  // anything else checked; descendants follow, ancestors are recomputed from their children.
  void toggleNode(QTreeWidgetItem* node);

  QWidget* Panel1;
  QTreeWidget* tree;
  QLabel* Label1;
  TAreaEdit* txt_area;
  TGlowButton* AdvGlowButton1;

 protected:
  void FormCreate() override;
  void FormShow() override;
  // Before a node's check state changes; false refuses the change.
  virtual bool treeStateChanging(QTreeWidgetItem* node, int newState);
  // After a node's check state changed.
  virtual void treeStateChange(QTreeWidgetItem* node);
  // The mouse button went up over the tree.
  void treeMouseUp();
  void AdvGlowButton1Click();

  void loadAreas();
  void buildTree();

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildContent();
  // One state change of one node through the changing and changed handlers; false when the
  // changing handler refused it. A node already in that state changes nothing.
  bool changeState(QTreeWidgetItem* node, int state);
  void cascadeDown(QTreeWidgetItem* node, int state);
  void recomputeAncestors(QTreeWidgetItem* node);
  // The node of the viewport position whose check box lies there, or nullptr.
  QTreeWidgetItem* checkBoxAt(const QPoint& position) const;
  QTreeWidgetItem* firstCheckedNode() const;

  // Set when a check state changed since the selection text was last composed.
  bool changed_ = false;
};
