// Sorting grid texts: case-insensitive locale order through collation keys, against the
// collator itself, with equal texts, empty texts and many duplicates.
#include <QCollator>
#include <QLocale>
#include <QTest>

#include <algorithm>
#include <random>

#include "QtTestMain.h"
#include "windows/fleet/GridSort.h"

namespace {

std::vector<QString> Texts(const QStringList& list) { return {list.begin(), list.end()}; }

QStringList InOrder(const std::vector<QString>& texts, const std::vector<int>& order) {
  QStringList sorted;
  for (const int i : order) sorted << texts[i];
  return sorted;
}

// True when every neighbour pair is in order by the collator.
bool CollatorAgrees(const QStringList& sorted) {
  QCollator collator{QLocale()};
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  for (qsizetype i = 1; i < sorted.size(); ++i)
    if (collator.compare(sorted[i - 1], sorted[i]) > 0) return false;
  return true;
}

// A text of the characters grid cells hold: plates, names, places, numbers and separators.
QString RandomText(std::mt19937& random) {
  static const QString alphabet = QStringLiteral("浙苏京沪粤AaBbZz0189 .,:-王李张赵杭州南京市米吨");
  const int length = std::uniform_int_distribution<int>(0, 8)(random);
  QString text;
  for (int i = 0; i < length; ++i)
    text += alphabet[std::uniform_int_distribution<int>(0, alphabet.size() - 1)(random)];
  return text;
}

class LocaleScope {
 public:
  explicit LocaleScope(const QLocale& locale) : saved_(QLocale()) { QLocale::setDefault(locale); }
  ~LocaleScope() { QLocale::setDefault(saved_); }

 private:
  QLocale saved_;
};

}  // namespace

class GridSortTest : public QObject {
  Q_OBJECT

 private slots:
  void sortsAscendingWithoutCase_data();
  void sortsAscendingWithoutCase();
  void chineseFollowsTheLocale_data();
  void chineseFollowsTheLocale();
  void keysCompareAsTheCollatorDoes_data();
  void keysCompareAsTheCollatorDoes();
  void manyEqualTextsSortQuickly();
  void quicksortSortsAPartOnly();
};

void GridSortTest::sortsAscendingWithoutCase_data() {
  QTest::addColumn<QStringList>("texts");
  QTest::addColumn<QStringList>("sorted");
  QTest::newRow("a and A together") << QStringList{"b", "A", "B", "a"} << QStringList{};
  QTest::newRow("plates") << QStringList{"浙B2", "浙A1", "浙a3", "苏E5"} << QStringList{};
  QTest::newRow("empty first") << QStringList{"x", "", "a", ""} << QStringList{"", "", "a", "x"};
  QTest::newRow("prefix first") << QStringList{"9.6米,30吨", "9.6米", "9.6"}
                                << QStringList{"9.6", "9.6米", "9.6米,30吨"};
  QTest::newRow("one text") << QStringList{"x"} << QStringList{"x"};
  QTest::newRow("none") << QStringList{} << QStringList{};
  QTest::newRow("digits by character") << QStringList{"10", "9", "1"} << QStringList{"1", "10", "9"};
}

void GridSortTest::sortsAscendingWithoutCase() {
  QFETCH(QStringList, texts);
  QFETCH(QStringList, sorted);
  const std::vector<QString> list = Texts(texts);
  const QStringList result = InOrder(list, fleet::SortedOrder(list));
  QCOMPARE(result.size(), texts.size());
  QVERIFY2(CollatorAgrees(result), qPrintable(result.join(QLatin1Char('|'))));
  if (!sorted.isEmpty()) QCOMPARE(result, sorted);
  // Texts that differ only in case stay neighbours, whichever comes first.
  for (qsizetype i = 0; i < result.size(); ++i)
    for (qsizetype j = i + 2; j < result.size(); ++j)
      if (result[i].compare(result[j], Qt::CaseInsensitive) == 0)
        for (qsizetype k = i + 1; k < j; ++k)
          QCOMPARE(result[k].compare(result[i], Qt::CaseInsensitive), 0);
}

void GridSortTest::chineseFollowsTheLocale_data() {
  QTest::addColumn<QString>("locale");
  QTest::addColumn<QStringList>("sorted");
  // zh_CN orders Chinese by pinyin: li, wang, zhang; C by code point: 张 U+5F20 first.
  QTest::newRow("zh_CN") << "zh_CN" << QStringList{"李四", "王五", "张三"};
  QTest::newRow("C") << "C" << QStringList{"张三", "李四", "王五"};
}

void GridSortTest::chineseFollowsTheLocale() {
  QFETCH(QString, locale);
  QFETCH(QStringList, sorted);
  const LocaleScope scope{QLocale(locale)};
  const std::vector<QString> list = Texts({"王五", "张三", "李四"});
  QCOMPARE(InOrder(list, fleet::SortedOrder(list)), sorted);
}

void GridSortTest::keysCompareAsTheCollatorDoes_data() {
  QTest::addColumn<QString>("locale");
  QTest::newRow("C") << "C";
  QTest::newRow("zh_CN") << "zh_CN";
  QTest::newRow("en_US") << "en_US";
}

void GridSortTest::keysCompareAsTheCollatorDoes() {
  QFETCH(QString, locale);
  const LocaleScope scope{QLocale(locale)};
  QCollator collator{QLocale()};
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  std::mt19937 random(20240517);
  std::vector<QString> texts;
  for (int i = 0; i < 400; ++i) texts.push_back(RandomText(random));
  const fleet::TCollationKeys keys(texts);
  for (int a = 0; a < 400; ++a)
    for (int b = 0; b < 400; b += 7) {
      const int expected = collator.compare(texts[a], texts[b]);
      const int got = keys.compare(a, b);
      QVERIFY2((expected < 0) == (got < 0) && (expected > 0) == (got > 0),
               qPrintable(QStringLiteral("'%1' vs '%2': collator %3, keys %4")
                              .arg(texts[a], texts[b]).arg(expected).arg(got)));
    }
}

void GridSortTest::manyEqualTextsSortQuickly() {
  // A status column holds two texts only; equal texts must not make the sort quadratic (a
  // quadratic sort of this many rows would not end within the test's time).
  std::vector<QString> texts;
  for (int i = 0; i < 200000; ++i)
    texts.push_back(i % 3 == 0 ? QStringLiteral("已注册") : QStringLiteral("未注册"));
  const std::vector<int> order = fleet::SortedOrder(texts);
  const QString first = texts[order.front()];
  const auto firstOther = std::find_if(order.begin(), order.end(),
                                       [&](int i) { return texts[i] != first; });
  QVERIFY(std::all_of(firstOther, order.end(), [&](int i) { return texts[i] != first; }));
  std::vector<int> all = order;
  std::sort(all.begin(), all.end());
  for (int i = 0; i < static_cast<int>(all.size()); ++i) QCOMPARE(all[i], i);
}

void GridSortTest::quicksortSortsAPartOnly() {
  const std::vector<QString> texts = Texts({"e", "d", "c", "b", "a"});
  const fleet::TCollationKeys keys(texts);
  std::vector<int> indexes{0, 1, 2, 3, 4};
  std::mt19937 random(7);
  fleet::Quicksort(indexes, 1, 3, keys, random);
  QCOMPARE(indexes, (std::vector<int>{0, 3, 2, 1, 4}));
}

VANDREL_QTEST_MAIN(GridSortTest)
#include "GridSort_test.moc"
