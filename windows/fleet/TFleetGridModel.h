// The cells of the fleet grid: one row per vehicle, nine columns.
//
// A row filled from a vehicle keeps a reference to the record (records are shared) and makes
// its texts from it when they are asked for; texts written into single cells afterwards (a
// position just located, a status just refreshed) are kept beside it and win. This holds a
// whole fleet at a few dozen bytes a row, and filling a row costs no text work at all.
//
// The search filter hides rows without removing them: the grid's rows (`row`, from 0) are the
// visible ones, while the store (`store`, from 0) holds every row, hidden or not, so a vehicle
// can be refreshed while it is filtered out.
#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Korvane/FleetList.h"
#include "windows/fleet/GridSort.h"
#include "windows/fleet/VehicleCells.h"

namespace fleet {

class TFleetGridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit TFleetGridModel(QObject* parent = nullptr);

  static QString heading(int column);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // ---- Visible rows -------------------------------------------------------------------
  int rows() const { return rowCount(); }
  QString cell(int row, int column) const { return storeCell(storeIndex(row), column); }
  void setCell(int row, int column, const QString& text);
  // All nine cells from the vehicle; `membershipValid` as the position and time columns need.
  void fillRow(int row, Korvane::CarPtr car, bool membershipValid);
  // Empties every cell of the row.
  void blankRow(int row);
  void removeRowAt(int row);
  // A new blank row above all others.
  void insertTopRow();
  // One new row at the end for each vehicle, filled from it.
  void appendCars(const Korvane::CarList& cars, std::size_t from, bool membershipValid);
  // Refills rows 0, 1, ... from the vehicles, as far as there are rows.
  void refillRows(const Korvane::CarList& cars, bool membershipValid);
  // One blank row, no filter.
  void resetToBlank();

  // ---- Every row, hidden or not --------------------------------------------------------
  int storeRows() const { return static_cast<int>(store_.size()); }
  int storeIndex(int row) const { return filtered_ ? visible_[row] : row; }
  QString storeCell(int store, int column) const;
  // The same text as UTF-8, a view that lasts until the row changes, or of `scratch`.
  std::string_view storeCellUtf8(int store, int column, std::string& scratch) const;
  void fillStoreRow(int store, Korvane::CarPtr car, bool membershipValid);
  // The last row whose column 0 is exactly `plate`, or -1.
  int lastStoreRowWithPlate(const QString& plate) const;
  // Every store index, in ascending order of the column's texts (case-insensitive, in the
  // locale's collation; equal texts in no particular order). The collation keys are kept
  // for the next sort by the same column as long as no text changes.
  std::vector<int> ascendingOrder(int column);
  // Puts the rows in the order given (store indexes, each once); hidden rows stay hidden.
  void reorder(const std::vector<int>& order);
  // The last row becomes the first.
  void reverseRows();

  // ---- The search filter --------------------------------------------------------------
  // Hides every row for which `keep` (given a store index) is false.
  void setFilter(const std::function<bool(int store)>& keep);
  void removeFilter();
  bool isFiltered() const { return filtered_; }

 private:
  using WrittenCells = std::array<std::optional<QString>, kColumns>;
  struct Row {
    Korvane::CarPtr car;                     // the record the row was filled from, or none
    std::unique_ptr<WrittenCells> written;  // cells written after the fill
    std::uint32_t id = 0;                    // the row's own number, whatever its place
    bool membershipValid = false;
    bool hidden = false;
  };
  // The keys of the last sort: valid for its column while `generation` is the model's.
  struct SortKeys {
    int column = -1;
    std::uint64_t generation = 0;
    std::unique_ptr<TCollationKeys> keys;
    std::vector<int> keyOfRow;  // by row id
  };

  Row newRow() { Row row; row.id = nextId_++; return row; }
  void rebuildVisible();
  void rowChanged(int row);
  // Any change of a text: sort keys made before no longer hold.
  void textsChanged() { ++generation_; }

  std::vector<Row> store_;
  std::uint32_t nextId_ = 0;
  std::uint64_t generation_ = 0;
  std::unique_ptr<SortKeys> sortKeys_;
  std::vector<int> visible_;  // store indexes of the visible rows while filtered
  bool filtered_ = false;
};

}  // namespace fleet
