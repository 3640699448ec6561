// The fleet window's status bar: a row of text panels. A panel sizes itself to its text unless
// it has a fixed width; a hidden panel has no automatic sizing and width 0.
#pragma once

#include <QLabel>
#include <QString>
#include <QWidget>

#include <vector>

class TStatusPanels : public QWidget {
  Q_OBJECT

 public:
  TStatusPanels(int count, QWidget* parent = nullptr);

  int count() const { return static_cast<int>(panels_.size()); }
  QString text(int panel) const;
  void setText(int panel, const QString& text);
  // A fixed width instead of automatic sizing.
  void setFixedPanelWidth(int panel, int width);
  // No automatic sizing, width 0.
  void hidePanel(int panel);
  bool isPanelHidden(int panel) const;
  bool autoSize(int panel) const { return panels_[panel].autoSize; }
  int panelWidth(int panel) const;
  QLabel* label(int panel) const { return panels_[panel].label; }

 private:
  struct Panel {
    QLabel* label = nullptr;
    bool autoSize = true;
  };
  void fitToText(int panel);

  std::vector<Panel> panels_;
};
