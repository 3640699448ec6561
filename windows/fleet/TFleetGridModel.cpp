#include "windows/fleet/TFleetGridModel.h"

#include <algorithm>

namespace fleet {
namespace {

constexpr const char* kHeadings[kColumns] = {"车牌号码", "车辆信息", "司机姓名", "随车手机", "当前位置",
                                             "定位时间", "期望流向", "服务状态", "备注"};

}  // namespace

TFleetGridModel::TFleetGridModel(QObject* parent) : QAbstractTableModel(parent) {
  store_.emplace_back();
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

void TFleetGridModel::rowChanged(int row) {
  emit dataChanged(index(row, 0), index(row, kColumns - 1), {Qt::DisplayRole});
}

void TFleetGridModel::setCell(int row, int column, const QString& text) {
  Row& target = store_[storeIndex(row)];
  if (!target.written) target.written = std::make_unique<WrittenCells>();
  (*target.written)[column] = text;
  const QModelIndex at = index(row, column);
  emit dataChanged(at, at, {Qt::DisplayRole});
}

void TFleetGridModel::fillStoreRow(int store, Korvane::CarPtr car, bool membershipValid) {
  Row& target = store_[store];
  target.car = std::move(car);
  target.written.reset();
  target.membershipValid = membershipValid;
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
  rowChanged(row);
}

void TFleetGridModel::removeRowAt(int row) {
  const int store = storeIndex(row);
  beginRemoveRows(QModelIndex(), row, row);
  store_.erase(store_.begin() + store);
  rebuildVisible();
  endRemoveRows();
}

void TFleetGridModel::insertTopRow() {
  beginInsertRows(QModelIndex(), 0, 0);
  store_.emplace(store_.begin());
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
  for (std::size_t i = from; i < cars.size(); ++i) {
    Row row;
    row.car = cars[i];
    row.membershipValid = membershipValid;
    store_.push_back(std::move(row));
    if (filtered_) visible_.push_back(static_cast<int>(store_.size() - 1));
  }
  endInsertRows();
}

void TFleetGridModel::refillRows(const Korvane::CarList& cars, bool membershipValid) {
  const int count = std::min(rowCount(), static_cast<int>(cars.size()));
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
  store_.emplace_back();
  visible_.clear();
  filtered_ = false;
  endResetModel();
}

int TFleetGridModel::lastStoreRowWithPlate(const QString& plate) const {
  for (int store = storeRows() - 1; store >= 0; --store)
    if (storeCell(store, kPlateColumn) == plate) return store;
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
