#include "windows/fleet/GridSort.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>
#include <numeric>
#include <unordered_map>
#include <utility>

namespace fleet {
namespace {

constexpr std::uint32_t kUnknown = 0xFFFFFFFFu;
constexpr std::uint32_t kIgnored = 0;
// A key's head holds its first places, three to a number, 21 bits each (there are fewer
// characters than that), and 0 for a place a short key does not have: places start at 1, so
// a shorter key's head is the smaller one.
constexpr int kPlacesPerNumber = 3;
constexpr int kHeadPlaces = TCollationKeys::kHeadNumbers * kPlacesPerNumber;
constexpr int kHeadBits = 21;

// Each character's place in the collation of the current locale, learnt as characters turn
// up and kept for the rest of the run (per locale).
class TCharacterPlaces {
 public:
  std::uint32_t place(char32_t c) const {
    if (c < basic_.size()) return basic_[c];
    const auto it = others_.find(c);
    return it == others_.end() ? kUnknown : it->second;
  }

  // Gives the characters met for the first time a place, placing all known ones anew.
  void learn(const std::vector<char32_t>& fresh) {
    if (fresh.empty()) return;
    known_.insert(known_.end(), fresh.begin(), fresh.end());
    placeAll();
  }

  // Marks a character as met; true when it had not been met before.
  bool meet(char32_t c) {
    if (place(c) != kUnknown) return false;
    assign(c, kIgnored);  // until learn() places it
    return true;
  }

  void useCurrentLocale() {
    const QString name = QLocale().bcp47Name();
    if (name == localeName_ && !basic_.empty()) return;
    localeName_ = name;
    basic_.assign(0x10000, kUnknown);
    others_.clear();
    known_.clear();
  }

 private:
  void assign(char32_t c, std::uint32_t place) {
    if (c < basic_.size())
      basic_[c] = place;
    else
      others_[c] = place;
  }

  void placeAll() {
    QCollator collator{QLocale()};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<std::pair<char32_t, QString>> texts;
    texts.reserve(known_.size());
    for (const char32_t c : known_) texts.emplace_back(c, QString::fromUcs4(&c, 1));
    std::sort(texts.begin(), texts.end(), [&](const auto& a, const auto& b) {
      return collator.compare(a.second, b.second) < 0;
    });
    std::uint32_t place = kIgnored;
    const QString* previous = nullptr;
    for (const auto& [c, text] : texts) {
      if (collator.compare(text, QString()) == 0) {
        assign(c, kIgnored);
        continue;
      }
      if (previous == nullptr || collator.compare(*previous, text) != 0) ++place;
      assign(c, place);
      previous = &text;
    }
  }

  QString localeName_;
  std::vector<std::uint32_t> basic_;
  std::unordered_map<char32_t, std::uint32_t> others_;
  std::vector<char32_t> known_;
};

TCharacterPlaces& Places() {
  static TCharacterPlaces places;
  return places;
}

// The next character of UTF-8 text at `at`, moving `at` past it; U+FFFD for a byte that
// starts no valid character.
char32_t NextCharacter(std::string_view text, std::size_t& at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  if (lead < 0x80) {
    ++at;
    return lead;
  }
  const int extra = lead >= 0xF0 && lead < 0xF5   ? 3
                    : lead >= 0xE0 && lead < 0xF0 ? 2
                    : lead >= 0xC2 && lead < 0xE0 ? 1
                                                  : 0;
  if (extra == 0 || at + extra >= text.size()) {
    ++at;
    return 0xFFFD;
  }
  char32_t c = lead & (0x3F >> extra);
  for (int i = 1; i <= extra; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) {
      ++at;
      return 0xFFFD;
    }
    c = (c << 6) | (byte(at + i) & 0x3F);
  }
  at += extra + 1;
  return c;
}

}  // namespace

TCollationKeys::TCollationKeys(int count, const TextOf& textOf) {
  TCharacterPlaces& places = Places();
  places.useCurrentLocale();
  // First every text's characters, then their places once every character is placed.
  std::vector<char32_t> fresh;
  starts_.assign(static_cast<std::size_t>(count), 0);
  lengths_.assign(static_cast<std::size_t>(count), 0);
  places_.reserve(static_cast<std::size_t>(count) * 12);
  std::string scratch;
  for (int i = 0; i < count; ++i) {
    starts_[i] = static_cast<std::uint32_t>(places_.size());
    const std::string_view text = textOf(i, scratch);
    for (std::size_t at = 0; at < text.size();) {
      const char32_t c = NextCharacter(text, at);
      if (places.meet(c)) fresh.push_back(c);
      places_.push_back(c);
    }
    lengths_[i] = static_cast<std::uint32_t>(places_.size()) - starts_[i];
  }
  places.learn(fresh);
  // Characters become places; ignored ones drop out, and the keys close up.
  std::size_t kept = 0;
  for (int i = 0; i < count; ++i) {
    const std::uint32_t begin = starts_[i];
    const std::uint32_t end = begin + lengths_[i];
    starts_[i] = static_cast<std::uint32_t>(kept);
    for (std::uint32_t at = begin; at < end; ++at) {
      const std::uint32_t place = places.place(places_[at]);
      if (place != kIgnored) places_[kept++] = place;
    }
    lengths_[i] = static_cast<std::uint32_t>(kept) - starts_[i];
  }
  places_.resize(kept);
  makeHeads();
}

TCollationKeys::TCollationKeys(const std::vector<QString>& texts)
    : TCollationKeys(static_cast<int>(texts.size()), [&texts](int i, std::string& scratch) {
        scratch = texts[i].toStdString();
        return std::string_view(scratch);
      }) {}

void TCollationKeys::makeHeads() {
  const std::size_t count = starts_.size();
  heads_.resize(count);
  for (std::size_t key = 0; key < count; ++key) {
    const std::uint32_t start = starts_[key];
    const std::uint32_t length = lengths_[key];
    const auto pack = [&](int from) {
      std::uint64_t number = 0;
      for (int i = from; i < from + kPlacesPerNumber; ++i) {
        const std::uint32_t place = static_cast<std::uint32_t>(i) < length ? places_[start + i] : 0;
        number = (number << kHeadBits) | place;
      }
      return number;
    };
    for (int number = 0; number < kHeadNumbers; ++number)
      heads_[key].numbers[number] = pack(number * kPlacesPerNumber);
  }
}

namespace {

int CompareFrom(const std::uint32_t* x, const std::uint32_t* xEnd, const std::uint32_t* y,
                const std::uint32_t* yEnd) {
  for (; x != xEnd && y != yEnd; ++x, ++y)
    if (*x != *y) return *x < *y ? -1 : 1;
  if (x != xEnd) return 1;
  return y != yEnd ? -1 : 0;
}

}  // namespace

int TCollationKeys::compare(int a, int b) const {
  if (heads_[a] != heads_[b]) return heads_[a] < heads_[b] ? -1 : 1;
  return compareTails(a, b);
}

// Equal heads: the first places are the same, so the comparison goes on after them.
int TCollationKeys::compareTails(int a, int b) const {
  const std::uint32_t* x = places_.data() + starts_[a];
  const std::uint32_t* xEnd = x + lengths_[a];
  const std::uint32_t* y = places_.data() + starts_[b];
  const std::uint32_t* yEnd = y + lengths_[b];
  const auto skip = [](const std::uint32_t* at, const std::uint32_t* end) {
    return end - at < kHeadPlaces ? end : at + kHeadPlaces;
  };
  return CompareFrom(skip(x, xEnd), xEnd, skip(y, yEnd), yEnd);
}

namespace {

// An entry being sorted: its key's head beside it, so that most comparisons need nothing else.
struct SortEntry {
  TCollationKeys::Head head;
  int index;
};

int CompareEntries(const SortEntry& a, const SortEntry& b, const TCollationKeys& keys) {
  for (int number = 0; number < TCollationKeys::kHeadNumbers; ++number)
    if (a.head.numbers[number] != b.head.numbers[number])
      return a.head.numbers[number] < b.head.numbers[number] ? -1 : 1;
  return keys.compareTails(a.index, b.index);
}

void SortEntries(std::vector<SortEntry>& entries, int low, int high, const TCollationKeys& keys,
                 std::mt19937& random) {
  // The smaller side is sorted by recursion, the larger one by the loop, so the depth stays
  // logarithmic whatever the pivots.
  while (low < high) {
    const SortEntry pivot = entries[std::uniform_int_distribution<int>(low, high)(random)];
    int less = low;
    int at = low;
    int greater = high;
    while (at <= greater) {
      const int order = CompareEntries(entries[at], pivot, keys);
      if (order < 0)
        std::swap(entries[less++], entries[at++]);
      else if (order > 0)
        std::swap(entries[at], entries[greater--]);
      else
        ++at;
    }
    if (less - low < high - greater) {
      SortEntries(entries, low, less - 1, keys, random);
      low = greater + 1;
    } else {
      SortEntries(entries, greater + 1, high, keys, random);
      high = less - 1;
    }
  }
}

}  // namespace

void Quicksort(std::vector<int>& indexes, int low, int high, const TCollationKeys& keys,
               std::mt19937& random) {
  if (low >= high) return;
  std::vector<SortEntry> entries;
  entries.reserve(static_cast<std::size_t>(high - low + 1));
  for (int i = low; i <= high; ++i) entries.push_back({keys.head(indexes[i]), indexes[i]});
  SortEntries(entries, 0, high - low, keys, random);
  for (int i = low; i <= high; ++i) indexes[i] = entries[i - low].index;
}

std::vector<int> SortedOrder(const std::vector<QString>& texts) {
  const TCollationKeys keys(texts);
  std::vector<int> indexes(texts.size());
  std::iota(indexes.begin(), indexes.end(), 0);
  static std::mt19937 random{std::random_device{}()};
  Quicksort(indexes, 0, static_cast<int>(indexes.size()) - 1, keys, random);
  return indexes;
}

}  // namespace fleet
