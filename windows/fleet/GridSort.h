// Sorting grid rows by the text of one column: texts compared case-insensitively in the
// user's locale collation, through keys made once per sort.
#pragma once

#include <QString>

#include <cstdint>
#include <random>
#include <vector>

namespace fleet {

// The collation keys of a list of texts. A key is the sequence of each character's place in
// the locale's order of all characters met so far (characters the collation ignores left
// out), so two keys compare as their texts do character by character, without case.
class TCollationKeys {
 public:
  explicit TCollationKeys(const std::vector<QString>& texts);

  int size() const { return static_cast<int>(starts_.size()) - 1; }
  // <0, 0 or >0 as text a sorts before, with or after text b.
  int compare(int a, int b) const;

 private:
  std::vector<std::uint32_t> places_;  // every key, one after the other
  std::vector<std::uint32_t> starts_;  // where each key begins; one more entry at the end
};

// Sorts entries low..high of `indexes` (positions into `keys`) ascending: a pivot picked at
// random, the entries before it that compare less, the equal ones with it, the greater ones
// after, then both sides in turn. Rows with equal texts end in no particular order.
void Quicksort(std::vector<int>& indexes, int low, int high, const TCollationKeys& keys,
               std::mt19937& random);

// The positions of `texts` in ascending order.
std::vector<int> SortedOrder(const std::vector<QString>& texts);

}  // namespace fleet
