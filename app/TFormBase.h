// The frameless window that every window of the client derives from: an orange title bar with
// the title, a title icon and two picture buttons (minimise, close), border strips left, right
// and bottom, and the client panel Panel_main for the window's own content.
//
// A derived window builds its controls in its constructor, sets its caption and size, and ends
// the constructor by running its creation handler FormCreate, which calls the base FormCreate
// first and then any of compactTitleBar, hideMinButton and hideBorders.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QPoint>
#include <QWidget>

class QMouseEvent;

class TFormBase : public QDialog {
  Q_OBJECT

 public:
  // The modal results.
  static constexpr int mrNone = 0;
  static constexpr int mrOk = 1;
  static constexpr int mrCancel = 2;

  // Where the window goes each time it is shown.
  enum class TPosition { poDesigned, poScreenCenter, poDesktopCenter, poMainFormCenter };

  explicit TFormBase(QWidget* parent = nullptr);

  // A lower title bar with smaller buttons.
  void compactTitleBar();
  // No minimise button.
  void hideMinButton();
  // No left, right and bottom border strips: Panel_main reaches the window's edges.
  void hideBorders();

  // Moves a content panel into Panel_main, where it fills the whole client panel.
  void placeContent(QWidget* panel);

  void setPosition(TPosition position) { position_ = position; }
  TPosition position() const { return position_; }

  // Ends the window with a modal result after its close-query and close handlers agreed;
  // closing by any road (the frame's close button, Esc where a window allows it) comes here.
  void done(int result) override;
  // Cancel: the modal result 2.
  void reject() override;

  // The frame's parts.
  QWidget* Panel_top;
  QLabel* Label_title;
  QLabel* Img_title;
  QLabel* Img_min;
  QLabel* Img_close;
  QWidget* Panel_left;
  QWidget* Panel_right;
  QWidget* Panel_bottom;
  QWidget* Panel_main;
  // Hidden holders of the six button pictures: minimise, then close; normal, hover, pressed.
  QLabel* Img_normal;
  QLabel* Img_move;
  QLabel* Img_down;
  QLabel* Imgc_normal;
  QLabel* Imgc_move;
  QLabel* Imgc_down;

 public slots:
  // Closes the window through the normal close path, after the current event.
  void Img_closeClick();

 protected:
  // The base creation steps: places the buttons and copies the caption into Label_title.
  virtual void FormCreate();
  // Places the buttons after every size change.
  virtual void FormResize();
  // The close-query handler: false keeps the window open.
  virtual bool FormCloseQuery() { return true; }
  // The close handler, run when the window closes.
  virtual void FormClose() {}
  // The show handler, run each time the window is shown (not when the window system merely
  // restores it): at once, or after the current event when postShowHandler() was called.
  virtual void FormShow() {}
  // Runs the show handler once the window is on screen, so that what it does (a sign-in, a
  // message box) happens over the visible window.
  void postShowHandler() { postShowHandler_ = true; }

  void Panel_topMouseDown(QMouseEvent* event);
  void Img_minMouseDown();
  void Img_minMouseMove();
  void Img_minMouseLeave();
  void Img_minMouseUp();
  void Img_closeMouseDown();
  void Img_closeMouseMove();
  void Img_closeMouseLeave();
  void Img_closeMouseUp();

  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void buildTitleBar();
  void buildBorders();
  void buildPictures();
  void alignPanels();
  void applyPosition();
  bool titleBarEvent(QEvent* event);
  bool minButtonEvent(QEvent* event);
  bool closeButtonEvent(QEvent* event);
  void dragTo(const QPoint& globalPosition);

  TPosition position_ = TPosition::poDesigned;
  int titleHeight_ = 39;
  bool closing_ = false;
  bool postShowHandler_ = false;
  // A move the window system could not take over: the window follows the pointer itself.
  bool dragging_ = false;
  QPoint dragOffset_;
};
