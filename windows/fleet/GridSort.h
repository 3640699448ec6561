// Sorting grid rows by the text of one column: texts compared case-insensitively in the
// user's locale collation, through keys made once per sort.
#pragma once

#include <QString>

#include <array>
#include <compare>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <random>
#include <vector>

namespace fleet {

// The collation keys of a list of texts. A key is the sequence of each character's place in
// the locale's order of all characters met so far (characters the collation ignores left
// out), so two keys compare as their texts do character by character, without case.
class TCollationKeys {
 public:
  // The UTF-8 text of entry i: a view of anything that lasts until the next call, or of
  // `scratch`, which it may be made in.
  using TextOf = std::function<std::string_view(int i, std::string& scratch)>;

  TCollationKeys(int count, const TextOf& textOf);
  explicit TCollationKeys(const std::vector<QString>& texts);

  int size() const { return static_cast<int>(starts_.size()); }
  // <0, 0 or >0 as text a sorts before, with or after text b.
  int compare(int a, int b) const;

  // The first places of a key packed into a few numbers: keys whose heads differ compare as
  // their heads do; equal heads leave the rest to compareTails.
  static constexpr int kHeadNumbers = 3;
  struct Head {
    std::array<std::uint64_t, kHeadNumbers> numbers{};
    friend auto operator<=>(const Head&, const Head&) = default;
  };
  const Head& head(int key) const { return heads_[key]; }
  int compareTails(int a, int b) const;

 private:
  void makeHeads();

  std::vector<std::uint32_t> places_;   // every key, one after the other
  std::vector<std::uint32_t> starts_;   // where each key begins in places_
  std::vector<std::uint32_t> lengths_;  // and how many places it has
  std::vector<Head> heads_;
};

// Sorts entries low..high of `indexes` (positions into `keys`) ascending: a pivot picked at
// random, the entries before it that compare less, the equal ones with it, the greater ones
// after, then both sides in turn. Rows with equal texts end in no particular order.
void Quicksort(std::vector<int>& indexes, int low, int high, const TCollationKeys& keys,
               std::mt19937& random);

// The positions of `texts` in ascending order.
std::vector<int> SortedOrder(const std::vector<QString>& texts);

}  // namespace fleet
