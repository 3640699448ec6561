// The fleet window: the client's main window after sign-in. It shows the signed-in company's
// whole fleet in its grid, loads it (the first page at once, the rest in the background),
// sorts, pages and deletes, and carries the menus and the status bar with the company's
// figures.
#pragma once

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <array>
#include <memory>

#include "Korvane/FleetList.h"
#include "Korvane/TMYResult.h"
#include "app/TFormBase.h"
#include "app/TGlowButton.h"
#include "windows/fleet/TApplicationEvents.h"
#include "windows/fleet/TDownTread.h"
#include "windows/fleet/TFleetGrid.h"
#include "windows/fleet/TStatusPanels.h"

class TFormMain : public TFormBase {
  Q_OBJECT

 public:
  static constexpr int kStatusPanels = 11;

  explicit TFormMain(QWidget* parent = nullptr);
  ~TFormMain() override;

  // The client version shown in the status bar; the login window sets it before showing
  // this window.
  QString versionText;

  // ---- Shared window state ------------------------------------------------------------
  bool busy = true;          // a vehicle-list download is running
  bool listLoaded = false;   // the first page of the last load arrived
  std::unique_ptr<TDownTread> downloadThread;
  bool adviceDue = true;     // the usage-advice window is still to be shown once
  std::array<int, fleet::kColumns> sortStates{};  // 0 unsorted, 1 ascending, 2 descending
  bool columnResized = false;
  int resizedColumn = -1;
  bool pickerFilled = false;
  int idleCount = 0;         // idle-timer ticks since the last key press or mouse move

  // ---- Controls -----------------------------------------------------------------------
  QWidget* Panel1;      // the content, in the frame's Panel_main
  QLabel* Image1;       // the menu band and its picture
  QWidget* AdvToolBar1;
  QMenuBar* MainMenu1;
  QWidget* AdvPanel1;   // left strip
  QWidget* AdvPanel2;   // right strip
  QWidget* AdvPanel3;   // fleet area
  QWidget* Panel4;      // tab strip
  QLabel* i_car;
  QLabel* i_my;
  QLabel* i_1;
  QLabel* i_2;
  QLabel* i_3;
  QLabel* i_4;
  TFleetGrid* grid;
  QWidget* WebBrowser1;
  QLabel* img_asc;
  QLabel* img_desc;
  QWidget* pan_Search;
  QLineEdit* txt_search;
  QWidget* AdvPanel5;   // button bar
  QComboBox* cb_sort;
  TGlowButton* btn_first;
  TGlowButton* btn_pre;
  TGlowButton* btn_next;
  TGlowButton* btn_last;
  TGlowButton* btn_refresh;
  TGlowButton* btn_new;
  TGlowButton* btn_edit;
  TGlowButton* btn_locate;
  TGlowButton* btn_check;
  TGlowButton* btn_search;
  TStatusPanels* statusBar;
  QWidget* AdvPanel6;   // bottom strip

  QMenu* N1;
  QAction* N19;
  QAction* N18;
  QAction* N16;
  QAction* N17;
  QAction* N9;
  QAction* N2;
  QMenu* N10;
  QAction* N11;
  QAction* N12;
  QAction* N21;
  QAction* N20;
  QAction* N1111;
  QAction* N8;
  QAction* N23;
  QAction* N14;
  QAction* N15;

  QMenu* PopupMenu1;
  QAction* N7;
  QAction* N22;
  QAction* N5;
  QAction* N6;
  QAction* N13;
  QAction* N4;
  QAction* N3;

  QTimer* Timer2;  // usage advice, once
  QTimer* Timer3;  // idle reload, hourly
  TApplicationEvents* ApplicationEvents1;

  // ---- Offered to other windows -------------------------------------------------------
  bool isFinished() const { return !busy; }
  void applySettings();
  // Fills grid row `row` (1 for the first data row) from the vehicle.
  void addCar(int row, const Korvane::CarPtr& car);
  // Refills the row of the vehicle with this plate number, or with an empty one puts the
  // vehicle into a new top row (into the blank row of an empty grid).
  void refreshData(const QString& plateNumber, const Korvane::CarPtr& car);
  bool isFiltered() const;

  // ---- Show sequence and list load ----------------------------------------------------
  void FormShow() override;
  void downloadFinished(std::shared_ptr<Korvane::TCars> moreCars);

  // ---- Grid ---------------------------------------------------------------------------
  void gridDrawCell(QPainter& painter, const QRect& rect, int row, int column, bool selected);
  void gridColumnSizing(int column);
  void gridMouseUp(Qt::MouseButton button, QPoint position);
  void gridMouseDown(Qt::MouseButton button, QPoint position);
  void gridDblClickCell(int column, int row);
  void Sortgrid(int column);
  void saveColWidth(int column, int width);
  void saveSortBy(int index);
  void saveLoginOptions();

  // The application-wide message hook: true marks a message handled.
  bool ApplicationEvents1Message(QObject* receiver, QEvent* event);

 public slots:
  // List and paging.
  void btn_refreshClick(QObject* sender = nullptr);
  void cb_sortSelect(int index);
  void btn_firstClick();
  void btn_preClick();
  void btn_nextClick();
  void btn_lastClick();
  void N3Click();
  // Grid commands.
  void btn_newClick();
  void btn_editClick();
  // Menus; the web-page items open portal pages in the default browser.
  void N19Click();
  void N18Click();
  void N16Click();
  void N17Click();
  void N9Click();
  void N11Click();
  void N12Click();
  void N21Click();
  void N20Click();
  void N1111Click();
  void N8Click();
  void N23Click();
  void N14Click();
  void N15Click();
  // Tab strip.
  void i_carClick();
  void i_myClick();
  // Timers.
  void Timer2Timer();
  void Timer3Timer();
  // Locating.
  void btn_locateClick();
  void N7Click();
  void N22Click();
  // Vehicle pages of the portal.
  void N6Click();
  void N13Click();
  // Search.
  void btn_searchClick();
  void AdvGlowButton2Click();

 protected:
  void FormCreate() override;
  bool FormCloseQuery() override;
  void FormClose() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

  // Hands a vehicle to the vehicle editor: mode 1 new, 2 edit, 3 view.
  virtual void openCar(const QString& title, int mode, Korvane::CarPtr car);

 private:
  // Layout.
  void buildContent();
  QWidget* buildMenuBand();
  void buildMainMenu();
  void buildPopupMenu();
  QWidget* buildFleetArea();
  QWidget* buildTabStrip();
  QWidget* buildGridPlace();
  QWidget* buildSearchPanel();
  QWidget* buildButtonBar();
  void placeButtons();
  void connectGrid();

  // Show sequence steps.
  std::shared_ptr<Korvane::TCars> loadFirstPage();
  void fillGrid(const Korvane::TCars& page);
  void setListPanels(const Korvane::TCars& page);
  void setCompanyPanels();
  void startDownload(const Korvane::TCars& page);
  void showListFailure(const Korvane::TMYResult& result);
  void showDeleteFailure(const Korvane::TMYResult& result);
  void showBusyNotice();
  bool clearSearch();

  void restoreServiceOrder();
  void openPortalPage(const char* urlFor);
  void showTabsAsCreated();
  bool membershipValid() const;
  std::string registerContactNumber() const;
};
