#include "windows/editor/TFormCarType.h"

#include <QKeyEvent>
#include <QPalette>
#include <QStringList>

#include <array>
#include <span>
#include <string>
#include <unordered_map>

#include "app/Fonts.h"

namespace {

struct TypeEntry {
  const char* code;
  const char* caption;
};

// The catalogue, each group in display order; a code is the name of its box.
constexpr TypeEntry kGroup1[] = {
    {"CM1_01", "半挂一拖二"}, {"CM1_02", "半挂一拖三"}, {"CM1_03", "半挂二拖二"},
    {"CM1_04", "半挂二拖三"}, {"CM1_05", "前四后四半挂"}, {"CM1_06", "前四后四"},
    {"CM1_07", "前四后六"}, {"CM1_08", "前四后八"}, {"CM1_09", "前四后十"},
    {"CM1_10", "后八轮"}, {"CM1_11", "五轮车"}, {"CM1_12", "单桥"},
    {"CM1_13", "双桥"}, {"CM1_14", "四桥"}, {"CM1_15", "五桥"},
    {"CM1_16", "六桥"}, {"CM1_17", "七桥"}, {"CM1_18", "八桥"},
    {"CM1_19", "九桥"}, {"CM1_20", "全挂"}, {"CM1_99", "其他"},
};
constexpr TypeEntry kGroup2[] = {
    {"CM2_01", "普通"}, {"CM2_02", "平板"}, {"CM2_03", "高低平板"}, {"CM2_04", "厢式"},
    {"CM2_05", "封闭"}, {"CM2_06", "开顶厢"}, {"CM2_07", "灌式"}, {"CM2_08", "集装箱"},
    {"CM2_09", "自卸"}, {"CM2_10", "高栏"}, {"CM2_11", "轴线板"}, {"CM2_12", "满轮车"},
    {"CM2_13", "框架板"}, {"CM2_14", "高低高板"}, {"CM2_15", "抽拉板"}, {"CM2_16", "簸箕板"},
    {"CM2_17", "超低板"}, {"CM2_18", "笼子车"}, {"CM2_19", "叶片车"}, {"CM2_99", "其他"},
};
constexpr TypeEntry kGroup3[] = {
    {"CM3_01", "冷藏车"}, {"CM3_02", "危险品车"}, {"CM3_03", "邮政车"}, {"CM3_04", "棉被车"},
    {"CM3_05", "起重车"}, {"CM3_06", "搅拌机"}, {"CM3_07", "推土机"}, {"CM3_08", "装载机"},
    {"CM3_09", "挖掘机"}, {"CM3_10", "平地机"}, {"CM3_11", "压路机"}, {"CM3_12", "爬梯车"},
    {"CM3_13", "随车吊"}, {"CM3_14", "汽车吊"}, {"CM3_15", "大件车"}, {"CM3_16", "罐体专用车"},
    {"CM3_99", "其他"},
};
constexpr TypeEntry kGroup4[] = {
    {"CM4_01", "中国重汽"}, {"CM4_02", "一汽解放"}, {"CM4_03", "东风商用车"},
    {"CM4_04", "东风柳汽"}, {"CM4_05", "东风日产(柴)"}, {"CM4_06", "陕西重汽"},
    {"CM4_07", "北汽福田"}, {"CM4_08", "依维柯"}, {"CM4_09", "重庆重汽"},
    {"CM4_10", "北方奔驰"}, {"CM4_11", "江淮格尔发"}, {"CM4_12", "安徽华菱"},
    {"CM4_13", "湖北三环"}, {"CM4_14", "福建新龙马"}, {"CM4_15", "精功镇江"},
    {"CM4_16", "春兰卡车"}, {"CM4_17", "上海汇众"}, {"CM4_18", "金华青年曼"},
    {"CM4_19", "洛阳福德"}, {"CM4_20", "南汽凌野"}, {"CM4_21", "瑞典沃尔沃"},
    {"CM4_22", "法国雷诺"}, {"CM4_23", "德国曼"}, {"CM4_24", "德国奔驰"},
    {"CM4_25", "瑞典斯堪尼亚"}, {"CM4_26", "日本五十铃"}, {"CM4_27", "日本日野"},
    {"CM4_99", "其他品牌"},
};

const std::array<std::span<const TypeEntry>, TFormCarType::kGroups> kCatalogue = {
    std::span<const TypeEntry>(kGroup1), std::span<const TypeEntry>(kGroup2),
    std::span<const TypeEntry>(kGroup3), std::span<const TypeEntry>(kGroup4)};

// Group 4 puts its first 21 boxes in the left column and the rest in the right one.
constexpr int kLeftColumnBoxes = 21;
constexpr int kBoxTop = 16;
constexpr int kBoxStep = 16;
constexpr int kBoxLeft = 16;
constexpr int kRightColumnLeft = 128;

// Places on the window: the frame's compact title bar above, the buttons below.
constexpr int kHeaderTop = 29;
constexpr int kHeaderHeight = 33;
constexpr int kGroupTop = kHeaderTop + kHeaderHeight;
constexpr int kGroupHeight = 352;
constexpr int kGroupsLeft = 3;
constexpr int kNarrowWidth = 121;
constexpr int kWideWidth = 241;
constexpr int kButtonTop = 415;

const QColor kWindowColour(213, 219, 205);
const QColor kHeaderColour(190, 201, 178);
const QColor kGroupColour(236, 240, 231);

void Colour(QWidget* widget, const QColor& colour) {
  widget->setAutoFillBackground(true);
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, colour);
  widget->setPalette(palette);
}

}  // namespace

TFormCarType::TFormCarType(QWidget* parent) : TFormBase(parent) {
  setObjectName(QStringLiteral("FormCarType"));
  setWindowTitle(QStringLiteral("车型录入"));
  resize(610, 491);
  setPosition(TPosition::poMainFormCenter);
  Colour(Panel_main, kWindowColour);

  int left = kGroupsLeft;
  buildGroup(1, left, kNarrowWidth, "拖挂及轮轴", true);
  left += kNarrowWidth;
  buildGroup(2, left, kNarrowWidth, "货厢结构", true);
  left += kNarrowWidth;
  buildGroup(3, left, kNarrowWidth, "特殊功能", false);
  left += kNarrowWidth;
  buildGroup(4, left, kWideWidth, "厂商品牌", false);
  RzPanel5 = findChild<QWidget*>(QStringLiteral("RzPanel5"));
  RzPanel6 = findChild<QWidget*>(QStringLiteral("RzPanel6"));
  RzPanel7 = findChild<QWidget*>(QStringLiteral("RzPanel7"));
  RzPanel8 = findChild<QWidget*>(QStringLiteral("RzPanel8"));

  btn_OK = new TGlowButton(QStringLiteral("确定"), this);
  btn_OK->setObjectName(QStringLiteral("btn_OK"));
  btn_OK->setGeometry(194, kButtonTop, 75, 25);
  btn_cancel = new TGlowButton(QStringLiteral("放弃"), this);
  btn_cancel->setObjectName(QStringLiteral("btn_cancel"));
  btn_cancel->setGeometry(338, kButtonTop, 75, 25);
  btn_OK->setAutoDefault(false);
  btn_cancel->setAutoDefault(false);
  connect(btn_OK, &QPushButton::clicked, this, &TFormCarType::btn_OKClick);
  connect(btn_cancel, &QPushButton::clicked, this, &TFormCarType::btn_cancelClick);

  FormCreate();
}

void TFormCarType::FormCreate() {
  TFormBase::FormCreate();
  compactTitleBar();
  hideMinButton();
}

// A header over the group and the group panel below it, holding one box per catalogue entry.
void TFormCarType::buildGroup(int group, int left, int width, const char* header, bool required) {
  auto* title = new QLabel(this);
  title->setObjectName(QStringLiteral("RzPanel%1").arg(group));
  title->setFont(SimSunFont(14, true));
  title->setAlignment(Qt::AlignCenter);
  title->setTextFormat(Qt::RichText);
  const QString caption = QString::fromUtf8(header);
  title->setText(required ? caption + QStringLiteral("<font color=\"#FF0000\">*</font>") : caption);
  title->setFrameShape(QFrame::Box);
  Colour(title, kHeaderColour);
  title->setGeometry(left, kHeaderTop, width, kHeaderHeight);

  auto* panel = new QFrame(this);
  panel->setObjectName(QStringLiteral("RzPanel%1").arg(group + 4));
  panel->setFrameShape(QFrame::Box);
  panel->setStyleSheet(QStringLiteral("QFrame#RzPanel%1 { border: 1px solid #B4BEA8; }").arg(group + 4));
  Colour(panel, kGroupColour);
  panel->setGeometry(left, kGroupTop, width, kGroupHeight);

  const std::span<const TypeEntry> entries = kCatalogue[group - 1];
  for (std::size_t i = 0; i < entries.size(); ++i) {
    auto* box = new QCheckBox(QString::fromUtf8(entries[i].caption), panel);
    box->setObjectName(QString::fromLatin1(entries[i].code));
    box->setFont(SimSunFont(12));
    const bool rightColumn = group == 4 && i >= kLeftColumnBoxes;
    const int row = static_cast<int>(rightColumn ? i - kLeftColumnBoxes : i);
    const int boxLeft = rightColumn ? kRightColumnLeft : kBoxLeft;
    box->setGeometry(boxLeft, kBoxTop + row * kBoxStep, (group == 4 ? 112 : width - kBoxLeft), 16);
    boxes_[group - 1].push_back(box);
    connect(box, &QCheckBox::toggled, this, [this, group, box] {
      switch (group) {
        case 1: CM1Click(box); break;
        case 2: CM2Click(box); break;
        case 3: CM3Click(box); break;
        default: CM4Click(box); break;
      }
    });
  }
}

void TFormCarType::CM1Click(QCheckBox* box) { applyGroupRule(1, box); }
void TFormCarType::CM2Click(QCheckBox* box) { applyGroupRule(2, box); }
void TFormCarType::CM3Click(QCheckBox* box) { applyGroupRule(3, box); }
void TFormCarType::CM4Click(QCheckBox* box) { applyGroupRule(4, box); }

void TFormCarType::applyGroupRule(int group, QCheckBox* box) {
  if (!box->isChecked()) return;
  for (QCheckBox* other : boxes_[group - 1])
    if (other->objectName() != box->objectName()) other->setChecked(false);
}

int TFormCarType::showCarType(const TCarType& carType) {
  const QStringList items = carType.codes.split(QLatin1Char(','));
  if (items.size() == kGroups) {
    for (int group = 1; group <= kGroups; ++group) {
      const QString& code = items[group - 1];
      if (code.isEmpty()) continue;
      for (QCheckBox* box : boxes_[group - 1])
        if (box->objectName() == code) box->setChecked(true);
    }
  }
  return exec();
}

QCheckBox* TFormCarType::checkedBox(int group) const {
  for (QCheckBox* box : boxes_[group - 1])
    if (box->isChecked()) return box;
  return nullptr;
}

TCarType TFormCarType::getCarType() const {
  TCarType type;
  for (int group = 1; group <= kGroups; ++group) {
    const QCheckBox* box = checkedBox(group);
    const QString caption = box ? box->text() : QString();
    const QString code = box ? box->objectName() : QString();
    if (group > 1) {
      if (!type.names.isEmpty() && !caption.isEmpty()) type.names += QLatin1Char(',');
      type.codes += QLatin1Char(',');
    }
    type.names += caption;
    type.codes += code;
  }
  return type;
}

QString TFormCarType::findCaption(int group, const QString& code) const {
  if (group < 1 || group > kGroups) return {};
  for (const QCheckBox* box : boxes_[group - 1])
    if (box->objectName() == code) return box->text();
  return {};
}

QString TFormCarType::getCaption(const QString& code) const {
  if (code.isEmpty()) return {};
  for (int group = 1; group <= kGroups; ++group) {
    const QString caption = findCaption(group, code);
    if (!caption.isEmpty()) return caption;
  }
  return {};
}

std::string_view TFormCarType::CatalogueCaption(std::string_view code) {
  // Codes are "CM", the group, "_" and two digits: most are found by their place at once.
  if (code.size() == 6 && code.substr(0, 2) == "CM" && code[3] == '_' && code[2] >= '1' &&
      code[2] <= '4' && code[4] >= '0' && code[4] <= '9' && code[5] >= '0' && code[5] <= '9') {
    const std::span<const TypeEntry> group = kCatalogue[code[2] - '1'];
    const std::size_t number = static_cast<std::size_t>((code[4] - '0') * 10 + (code[5] - '0'));
    if (number >= 1 && number <= group.size() && code == group[number - 1].code)
      return group[number - 1].caption;
  }
  static const std::unordered_map<std::string_view, std::string_view> captions = [] {
    std::unordered_map<std::string_view, std::string_view> all;
    for (const std::span<const TypeEntry> group : kCatalogue)
      for (const TypeEntry& entry : group) all.emplace(entry.code, entry.caption);
    return all;
  }();
  const auto it = captions.find(code);
  return it == captions.end() ? std::string_view() : it->second;
}

void TFormCarType::btn_OKClick() { done(mrOk); }

void TFormCarType::btn_cancelClick() { done(mrCancel); }

void TFormCarType::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    btn_cancelClick();
    event->accept();
    return;
  }
  TFormBase::keyPressEvent(event);
}
