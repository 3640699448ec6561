// The fleet window's regions, top to bottom: menu band, the fleet area between two strips,
// the bottom strip. The fleet area holds the tab strip beside the grid, then the (hidden)
// search panel, the button bar and the status bar.
#include <QEvent>
#include <QHBoxLayout>
#include <QPalette>
#include <QVBoxLayout>

#include "app/Fonts.h"
#include "app/Panels.h"
#include "windows/fleet/CompanyPanels.h"
#include "windows/fleet/TFormMain.h"

namespace {

constexpr int kMenuBandHeight = 34;
constexpr int kStripWidth = 11;
constexpr int kBottomStripHeight = 10;
constexpr int kTabStripWidth = 31;
constexpr int kSearchPanelHeight = 64;
constexpr int kButtonBarHeight = 33;
constexpr int kStatusBandHeight = 26;
constexpr int kButtonHeight = 21;
constexpr int kButtonGap = 3;
constexpr int kButtonRightMargin = 8;
constexpr int kSortBoxLeft = 31;
constexpr int kSortBoxWidth = 138;
constexpr int kDealerPanelWidth = 412;

const QColor kStripColour(210, 174, 149);
const QColor kFleetColour(213, 219, 205);
const QColor kCream(255, 251, 240);

const char* const kMenuStyle =
    "QMenuBar { background: transparent; color: #2B2B2B; }"
    "QMenuBar::item { padding: 5px 10px; background: transparent; }"
    "QMenuBar::item:selected { background: #F7C9A4; border-radius: 3px; }"
    "QMenu { background: #FBF8F4; border: 1px solid #C9A58B; }"
    "QMenu::item { padding: 4px 24px 4px 24px; }"
    "QMenu::item:selected { background: #F7C9A4; color: black; }";

QLabel* NewPicture(QWidget* parent, const char* name, const char* resource) {
  auto* picture = new QLabel(parent);
  picture->setObjectName(QString::fromLatin1(name));
  picture->setPixmap(QPixmap(QString::fromLatin1(resource)));
  picture->resize(picture->pixmap().size());
  return picture;
}

QAction* NewAction(QWidget* owner, QMenu* menu, const char* name, const char* caption) {
  auto* action = new QAction(QString::fromUtf8(caption), owner);
  action->setObjectName(QString::fromLatin1(name));
  menu->addAction(action);
  return action;
}

QAction* NewTopAction(QWidget* owner, QMenuBar* bar, const char* name, const char* caption) {
  auto* action = new QAction(QString::fromUtf8(caption), owner);
  action->setObjectName(QString::fromLatin1(name));
  bar->addAction(action);
  return action;
}

}  // namespace

void TFormMain::buildContent() {
  Panel1 = new QWidget(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  auto* column = new QVBoxLayout(Panel1);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  column->addWidget(buildMenuBand());

  auto* middle = new QHBoxLayout;
  middle->setSpacing(0);
  AdvPanel1 = NewPanel(Panel1, "AdvPanel1", kStripColour);
  AdvPanel1->setFixedWidth(kStripWidth);
  AdvPanel2 = NewPanel(Panel1, "AdvPanel2", kStripColour);
  AdvPanel2->setFixedWidth(kStripWidth);
  middle->addWidget(AdvPanel1);
  middle->addWidget(buildFleetArea(), 1);
  middle->addWidget(AdvPanel2);
  column->addLayout(middle, 1);

  AdvPanel6 = NewPanel(Panel1, "AdvPanel6", kCream);
  AdvPanel6->setFixedHeight(kBottomStripHeight);
  column->addWidget(AdvPanel6);
  placeContent(Panel1);
}

QWidget* TFormMain::buildMenuBand() {
  Image1 = new QLabel(Panel1);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setPixmap(QPixmap(QStringLiteral(":/menu_band.png")));
  Image1->setScaledContents(true);
  Image1->setFixedHeight(kMenuBandHeight);
  AdvToolBar1 = new QWidget(Image1);
  AdvToolBar1->setObjectName(QStringLiteral("AdvToolBar1"));
  AdvToolBar1->setGeometry(8, 7, 398, 29);
  MainMenu1 = new QMenuBar(AdvToolBar1);
  MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
  MainMenu1->setNativeMenuBar(false);
  MainMenu1->setFont(SimSunFont(13));
  MainMenu1->setStyleSheet(QString::fromLatin1(kMenuStyle));
  MainMenu1->setGeometry(0, 0, 398, 27);
  buildMainMenu();
  return Image1;
}

void TFormMain::buildMainMenu() {
  N1 = MainMenu1->addMenu(QStringLiteral("系统设置"));
  N1->setObjectName(QStringLiteral("N1"));
  N19 = NewAction(this, N1, "N19", "自动登录");
  N18 = NewAction(this, N1, "N18", "开机启动");
  N19->setCheckable(true);
  N18->setCheckable(true);
  N16 = NewAction(this, N1, "N16", "显示设置");
  N17 = NewAction(this, N1, "N17", "修改信息");
  N9 = NewAction(this, N1, "N9", "修改密码");
  N2 = NewAction(this, N1, "N2", "退出系统");

  N10 = MainMenu1->addMenu(QStringLiteral("我的账户"));
  N10->setObjectName(QStringLiteral("N10"));
  N11 = NewAction(this, N10, "N11", "消费记录");
  N12 = NewAction(this, N10, "N12", "账户充值");
  N21 = NewAction(this, N10, "N21", "购买套餐");
  N20 = NewAction(this, N10, "N20", "积分兑换");

  N1111 = NewTopAction(this, MainMenu1, "N1111", "找车运货");
  N1111->setVisible(false);
  N8 = NewTopAction(this, MainMenu1, "N8", "网上车库");
  N23 = NewTopAction(this, MainMenu1, "N23", "货运保险");
  N23->setVisible(false);
  N14 = NewTopAction(this, MainMenu1, "N14", "优惠活动");
  N15 = NewTopAction(this, MainMenu1, "N15", "联系客服");

  connect(N19, &QAction::triggered, this, &TFormMain::N19Click);
  connect(N18, &QAction::triggered, this, &TFormMain::N18Click);
  connect(N16, &QAction::triggered, this, &TFormMain::N16Click);
  connect(N17, &QAction::triggered, this, &TFormMain::N17Click);
  connect(N9, &QAction::triggered, this, &TFormMain::N9Click);
  connect(N2, &QAction::triggered, this, &TFormMain::Img_closeClick);
  connect(N11, &QAction::triggered, this, &TFormMain::N11Click);
  connect(N12, &QAction::triggered, this, &TFormMain::N12Click);
  connect(N21, &QAction::triggered, this, &TFormMain::N21Click);
  connect(N20, &QAction::triggered, this, &TFormMain::N20Click);
  connect(N1111, &QAction::triggered, this, &TFormMain::N1111Click);
  connect(N8, &QAction::triggered, this, &TFormMain::N8Click);
  connect(N23, &QAction::triggered, this, &TFormMain::N23Click);
  connect(N14, &QAction::triggered, this, &TFormMain::N14Click);
  connect(N15, &QAction::triggered, this, &TFormMain::N15Click);
}

void TFormMain::buildPopupMenu() {
  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
  PopupMenu1->setFont(SimSunFont(12));
  PopupMenu1->setStyleSheet(QString::fromLatin1(kMenuStyle));
  N7 = NewAction(this, PopupMenu1, "N7", "开通定位(&O)");
  N22 = NewAction(this, PopupMenu1, "N22", "刷新状态(&R)");
  N5 = NewAction(this, PopupMenu1, "N5", "立即定位(&L)");
  N6 = NewAction(this, PopupMenu1, "N6", "历史轨迹(&H)");
  N13 = NewAction(this, PopupMenu1, "N13", "证件核查(&C)");
  N4 = NewAction(this, PopupMenu1, "N4", "修改车辆(&E)");
  N3 = NewAction(this, PopupMenu1, "N3", "删除车辆(&D)");
  connect(N7, &QAction::triggered, this, &TFormMain::N7Click);
  connect(N22, &QAction::triggered, this, &TFormMain::N22Click);
  connect(N5, &QAction::triggered, this, &TFormMain::btn_locateClick);
  connect(N6, &QAction::triggered, this, &TFormMain::N6Click);
  connect(N13, &QAction::triggered, this, &TFormMain::N13Click);
  connect(N4, &QAction::triggered, this, &TFormMain::btn_editClick);
  connect(N3, &QAction::triggered, this, &TFormMain::N3Click);
}

QWidget* TFormMain::buildFleetArea() {
  AdvPanel3 = NewPanel(Panel1, "AdvPanel3", kFleetColour);
  auto* rows = new QVBoxLayout(AdvPanel3);
  rows->setContentsMargins(0, 0, 0, 0);
  rows->setSpacing(0);
  auto* top = new QHBoxLayout;
  top->setSpacing(0);
  top->addWidget(buildTabStrip());
  top->addWidget(buildGridPlace(), 1);
  rows->addLayout(top, 1);
  rows->addWidget(buildSearchPanel());
  rows->addWidget(buildButtonBar());

  statusBar = new TStatusPanels(kStatusPanels, AdvPanel3);
  statusBar->setObjectName(QStringLiteral("statusBar"));
  statusBar->setFixedHeight(kStatusBandHeight);
  statusBar->setFixedPanelWidth(10, kDealerPanelWidth);
  statusBar->setText(10, fleet::DefaultContactLine());
  rows->addWidget(statusBar);
  return AdvPanel3;
}

QWidget* TFormMain::buildTabStrip() {
  Panel4 = NewPanel(AdvPanel3, "Panel4", kFleetColour);
  Panel4->setFixedWidth(kTabStripWidth);
  i_car = NewPicture(Panel4, "i_car", ":/tab_list_active.png");
  i_car->move(1, 40);
  i_car->setToolTip(QStringLiteral("车辆列表"));
  i_my = NewPicture(Panel4, "i_my", ":/tab_new_inactive.png");
  i_my->move(1, 126);
  i_my->setToolTip(QStringLiteral("体验新版"));
  for (QLabel* tab : {i_car, i_my}) {
    tab->setCursor(Qt::PointingHandCursor);
    tab->installEventFilter(this);
  }
  i_1 = NewPicture(Panel4, "i_1", ":/tab_list_active.png");
  i_2 = NewPicture(Panel4, "i_2", ":/tab_list_inactive.png");
  i_3 = NewPicture(Panel4, "i_3", ":/tab_new_active.png");
  i_4 = NewPicture(Panel4, "i_4", ":/tab_new_inactive.png");
  for (QLabel* hidden : {i_1, i_2, i_3, i_4}) hidden->hide();
  return Panel4;
}

QWidget* TFormMain::buildGridPlace() {
  auto* place = new QWidget(AdvPanel3);
  place->setObjectName(QStringLiteral("gridPlace"));
  auto* layout = new QVBoxLayout(place);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  grid = new TFleetGrid(place);
  layout->addWidget(grid);
  // The window's own embedded browser place: kept hidden, no page is ever shown in it.
  WebBrowser1 = new QWidget(place);
  WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
  WebBrowser1->hide();
  layout->addWidget(WebBrowser1);
  img_asc = NewPicture(place, "img_asc", ":/sort_asc.png");
  img_desc = NewPicture(place, "img_desc", ":/sort_desc.png");
  img_asc->hide();
  img_desc->hide();
  return place;
}

QWidget* TFormMain::buildSearchPanel() {
  pan_Search = NewPanel(AdvPanel3, "pan_Search", kFleetColour);
  pan_Search->setFixedHeight(kSearchPanelHeight);
  txt_search = new QLineEdit(pan_Search);
  txt_search->setObjectName(QStringLiteral("txt_search"));
  txt_search->setFont(SimSunFont(14));
  txt_search->setToolTip(QStringLiteral("多个条件时请使用空格分隔"));
  txt_search->setGeometry(691, 27, 355, 22);
  pan_Search->hide();
  return pan_Search;
}

QWidget* TFormMain::buildButtonBar() {
  AdvPanel5 = NewPanel(AdvPanel3, "AdvPanel5", kFleetColour);
  AdvPanel5->setFixedHeight(kButtonBarHeight);
  cb_sort = new QComboBox(AdvPanel5);
  cb_sort->setObjectName(QStringLiteral("cb_sort"));
  cb_sort->setFont(SimSunFont(14));
  cb_sort->addItems({QStringLiteral("最近使用车辆优先"), QStringLiteral("当前登录城市优先"),
                     QStringLiteral("实际所在城市优先")});
  cb_sort->setCurrentIndex(1);
  cb_sort->setGeometry(kSortBoxLeft, 5, kSortBoxWidth, 23);
  connect(cb_sort, &QComboBox::activated, this, &TFormMain::cb_sortSelect);

  struct ButtonDesign {
    TGlowButton*& button;
    const char* name;
    const char* caption;
    int width;
  };
  const ButtonDesign buttons[] = {
      {btn_first, "btn_first", "首页", 49},       {btn_pre, "btn_pre", "上一页", 49},
      {btn_next, "btn_next", "下一页", 49},       {btn_last, "btn_last", "末页", 49},
      {btn_refresh, "btn_refresh", "刷新列表", 70}, {btn_new, "btn_new", "新增车辆", 70},
      {btn_edit, "btn_edit", "修改车辆", 70},     {btn_locate, "btn_locate", "车辆定位", 70},
      {btn_check, "btn_check", "证件核查", 70},   {btn_search, "btn_search", "车辆搜索", 70},
  };
  for (const ButtonDesign& design : buttons) {
    design.button = new TGlowButton(QString::fromUtf8(design.caption), AdvPanel5);
    design.button->setObjectName(QString::fromLatin1(design.name));
    design.button->resize(design.width, kButtonHeight);
    design.button->setAutoDefault(false);
  }
  connect(btn_first, &QPushButton::clicked, this, &TFormMain::btn_firstClick);
  connect(btn_pre, &QPushButton::clicked, this, &TFormMain::btn_preClick);
  connect(btn_next, &QPushButton::clicked, this, &TFormMain::btn_nextClick);
  connect(btn_last, &QPushButton::clicked, this, &TFormMain::btn_lastClick);
  connect(btn_refresh, &QPushButton::clicked, this, [this] { btn_refreshClick(btn_refresh); });
  connect(btn_new, &QPushButton::clicked, this, &TFormMain::btn_newClick);
  connect(btn_edit, &QPushButton::clicked, this, &TFormMain::btn_editClick);
  connect(btn_locate, &QPushButton::clicked, this, &TFormMain::btn_locateClick);
  connect(btn_check, &QPushButton::clicked, this, &TFormMain::N13Click);
  connect(btn_search, &QPushButton::clicked, this, &TFormMain::btn_searchClick);
  AdvPanel5->installEventFilter(this);
  return AdvPanel5;
}

// The buttons are anchored to the button bar's right edge, in their order from the left.
void TFormMain::placeButtons() {
  TGlowButton* const order[] = {btn_first, btn_pre,  btn_next,   btn_last,  btn_refresh,
                                btn_new,   btn_edit, btn_locate, btn_check, btn_search};
  int right = AdvPanel5->width() - kButtonRightMargin;
  const int top = (kButtonBarHeight - kButtonHeight) / 2;
  for (auto it = std::rbegin(order); it != std::rend(order); ++it) {
    TGlowButton* button = *it;
    right -= button->width();
    button->move(right, top);
    right -= kButtonGap;
  }
}

void TFormMain::connectGrid() {
  grid->cellDelegate()->drawCell = [this](QPainter& painter, const QRect& rect, int row,
                                          int column, bool selected) {
    gridDrawCell(painter, rect, row, column, selected);
  };
  grid->header()->drawSection = [this](QPainter& painter, const QRect& rect, int column) {
    gridDrawCell(painter, rect, 0, column, false);
  };
  connect(grid, &TFleetGrid::columnSizing, this, &TFormMain::gridColumnSizing);
  connect(grid, &TFleetGrid::mouseReleased, this, &TFormMain::gridMouseUp);
  connect(grid, &TFleetGrid::mousePressed, this, &TFormMain::gridMouseDown);
  connect(grid, &TFleetGrid::cellDoubleClicked, this, &TFormMain::gridDblClickCell);
  connect(grid, &QWidget::customContextMenuRequested, this, [this](const QPoint& position) {
    PopupMenu1->popup(grid->viewport()->mapToGlobal(position));
  });
}

bool TFormMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == AdvPanel5 && event->type() == QEvent::Resize) placeButtons();
  if (event->type() == QEvent::MouseButtonRelease) {
    if (watched == i_car) i_carClick();
    if (watched == i_my) i_myClick();
  }
  return TFormBase::eventFilter(watched, event);
}
