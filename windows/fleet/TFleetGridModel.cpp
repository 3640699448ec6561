#include "windows/fleet/TFleetGridModel.h"

#include <algorithm>
#include <random>

namespace fleet {
namespace {

constexpr const char* kHeadings[kColumns] = {"车牌号码", "车辆信息", "司机姓名", "随车手机", "当前位置",
                                             "定位时间", "期望流向", "服务状态", "备注"};

}  // namespace

TFleetGridModel::TFleetGridModel(QObject* parent) : QAbstractTableModel(parent) {
  store_.push_back(newRow());
}

QString TFleetGridModel::heading(int column) {
  return column >= 0 && column < kColumns ? QString::fromUtf8(kHeadings[column]) : QString();
}

int TFleetGridModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return static_cast<int>(filtered_ ? visible_.size() : store_.size());
}

int TFleetGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumns;
}

QVariant TFleetGridModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid()) return {};
  return cell(index.row(), index.column());
}

QVariant TFleetGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
  return heading(section);
}

Qt::ItemFlags TFleetGridModel::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

QString TFleetGridModel::storeCell(int store, int column) const {
  const Row& row = store_[store];
  if (row.written && (*row.written)[column]) return *(*row.written)[column];
  if (!row.car) return {};
  return CarCellText(*row.car, column, row.membershipValid);
}

std::string_view TFleetGridModel::storeCellUtf8(int store, int column, std::string& scratch) const {
  const Row& row = store_[store];
  if (row.written && (*row.written)[column]) {
    scratch = (*row.written)[column]->toStdString();
    return scratch;
  }
  if (!row.car) return {};
  return CarCellUtf8(*row.car, column, row.membershipValid, scratch);
}

void TFleetGridModel::rowChanged(int row) {
  emit dataChanged(index(row, 0), index(row, kColumns - 1), {Qt::DisplayRole});
}

void TFleetGridModel::setCell(int row, int column, const QString& text) {
  Row& target = store_[storeIndex(row)];
  if (!target.written) target.written = std::make_unique<WrittenCells>();
  (*target.written)[column] = text;
  textsChanged();
  const QModelIndex at = index(row, column);
  emit dataChanged(at, at, {Qt::DisplayRole});
}

void TFleetGridModel::fillStoreRow(int store, Korvane::CarPtr car, bool membershipValid) {
  Row& target = store_[store];
  target.car = std::move(car);
  target.written.reset();
  target.membershipValid = membershipValid;
  textsChanged();
  if (!filtered_) {
    rowChanged(store);
    return;
  }
  const auto at = std::lower_bound(visible_.begin(), visible_.end(), store);
  if (at != visible_.end() && *at == store) rowChanged(static_cast<int>(at - visible_.begin()));
}

void TFleetGridModel::fillRow(int row, Korvane::CarPtr car, bool membershipValid) {
  fillStoreRow(storeIndex(row), std::move(car), membershipValid);
}

void TFleetGridModel::blankRow(int row) {
  Row& target = store_[storeIndex(row)];
  target.car.reset();
  target.written.reset();
  textsChanged();
  rowChanged(row);
}

void TFleetGridModel::removeRowAt(int row) {
  const int store = storeIndex(row);
  beginRemoveRows(QModelIndex(), row, row);
  store_.erase(store_.begin() + store);
  textsChanged();
  rebuildVisible();
  endRemoveRows();
}

void TFleetGridModel::insertTopRow() {
  beginInsertRows(QModelIndex(), 0, 0);
  store_.insert(store_.begin(), newRow());
  textsChanged();
  rebuildVisible();
  endInsertRows();
}

void TFleetGridModel::appendCars(const Korvane::CarList& cars, std::size_t from,
                                 bool membershipValid) {
  if (from >= cars.size()) return;
  const int first = rowCount();
  const int count = static_cast<int>(cars.size() - from);
  beginInsertRows(QModelIndex(), first, first + count - 1);
  store_.reserve(store_.size() + count);
  textsChanged();
  for (std::size_t i = from; i < cars.size(); ++i) {
    Row row = newRow();
    row.car = cars[i];
    row.membershipValid = membershipValid;
    store_.push_back(std::move(row));
    if (filtered_) visible_.push_back(static_cast<int>(store_.size() - 1));
  }
  endInsertRows();
}

void TFleetGridModel::refillRows(const Korvane::CarList& cars, bool membershipValid) {
  const int count = std::min(rowCount(), static_cast<int>(cars.size()));
  textsChanged();
  for (int row = 0; row < count; ++row) {
    Row& target = store_[storeIndex(row)];
    target.car = cars[row];
    target.written.reset();
    target.membershipValid = membershipValid;
  }
  if (count > 0) emit dataChanged(index(0, 0), index(count - 1, kColumns - 1), {Qt::DisplayRole});
}

void TFleetGridModel::resetToBlank() {
  beginResetModel();
  store_.clear();
  sortKeys_.reset();
  nextId_ = 0;
  textsChanged();
  store_.push_back(newRow());
  visible_.clear();
  filtered_ = false;
  endResetModel();
}

std::vector<int> TFleetGridModel::ascendingOrder(int column) {
  const int rows = storeRows();
  if (!sortKeys_ || sortKeys_->column != column || sortKeys_->generation != generation_) {
    auto made = std::make_unique<SortKeys>();
    made->column = column;
    made->generation = generation_;
    made->keys = std::make_unique<TCollationKeys>(rows, [this, column](int store, std::string& scratch) {
      return storeCellUtf8(store, column, scratch);
    });
    made->keyOfRow.assign(nextId_, -1);
    for (int store = 0; store < rows; ++store) made->keyOfRow[store_[store].id] = store;
    sortKeys_ = std::move(made);
  }
  std::vector<int> keys(static_cast<std::size_t>(rows));
  std::vector<int> storeOfKey(static_cast<std::size_t>(rows));
  for (int store = 0; store < rows; ++store) {
    const int key = sortKeys_->keyOfRow[store_[store].id];
    keys[store] = key;
    storeOfKey[key] = store;
  }
  static std::mt19937 random{std::random_device{}()};
  Quicksort(keys, 0, rows - 1, *sortKeys_->keys, random);
  std::vector<int> order(static_cast<std::size_t>(rows));
  for (int i = 0; i < rows; ++i) order[i] = storeOfKey[keys[i]];
  return order;
}

int TFleetGridModel::lastStoreRowWithPlate(const QString& plate) const {
  const std::string wanted = plate.toStdString();
  std::string scratch;
  for (int store = storeRows() - 1; store >= 0; --store)
    if (storeCellUtf8(store, kPlateColumn, scratch) == wanted) return store;
  return -1;
}

void TFleetGridModel::reorder(const std::vector<int>& order) {
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  std::vector<Row> sorted;
  sorted.reserve(store_.size());
  for (const int store : order) sorted.push_back(std::move(store_[store]));
  store_ = std::move(sorted);
  rebuildVisible();
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void TFleetGridModel::reverseRows() {
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  std::reverse(store_.begin(), store_.end());
  rebuildVisible();
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void TFleetGridModel::setFilter(const std::function<bool(int store)>& keep) {
  beginResetModel();
  for (int store = 0; store < storeRows(); ++store) store_[store].hidden = !keep(store);
  filtered_ = true;
  rebuildVisible();
  endResetModel();
}

void TFleetGridModel::removeFilter() {
  if (!filtered_) return;
  beginResetModel();
  for (Row& row : store_) row.hidden = false;
  filtered_ = false;
  visible_.clear();
  endResetModel();
}

void TFleetGridModel::rebuildVisible() {
  if (!filtered_) return;
  visible_.clear();
  for (int store = 0; store < storeRows(); ++store)
    if (!store_[store].hidden) visible_.push_back(store);
}

}  // namespace fleet
