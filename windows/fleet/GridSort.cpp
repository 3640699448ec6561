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

// Each character's place in the collation of the current locale, learnt as characters turn
// up and kept for the rest of the run (per locale).
class TCharacterPlaces {
 public:
  std::uint32_t place(char32_t c) const {
    if (c < basic_.size()) return basic_[c];
    const auto it = others_.find(c);
    return it == others_.end() ? kUnknown : it->second;
  }

  // Gives every character of `texts` a place, placing all known ones anew when new ones came.
  void learn(const std::vector<QString>& texts) {
    useCurrentLocale();
    std::vector<char32_t> fresh;
    for (const QString& text : texts)
      ForEachCharacter(text, [&](char32_t c) {
        if (place(c) == kUnknown) {
          assign(c, kIgnored);  // marks it as met until it is placed below
          fresh.push_back(c);
        }
      });
    if (fresh.empty()) return;
    known_.insert(known_.end(), fresh.begin(), fresh.end());
    placeAll();
  }

  template <typename F>
  static void ForEachCharacter(const QString& text, F&& f) {
    const char16_t* at = reinterpret_cast<const char16_t*>(text.utf16());
    const char16_t* end = at + text.size();
    while (at < end) {
      char32_t c = *at++;
      if (QChar::isHighSurrogate(c) && at < end && QChar::isLowSurrogate(*at))
        c = QChar::surrogateToUcs4(static_cast<char16_t>(c), *at++);
      f(c);
    }
  }

 private:
  void useCurrentLocale() {
    const QString name = QLocale().bcp47Name();
    if (name == localeName_ && !basic_.empty()) return;
    localeName_ = name;
    basic_.assign(0x10000, kUnknown);
    others_.clear();
    known_.clear();
  }

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

}  // namespace

TCollationKeys::TCollationKeys(const std::vector<QString>& texts) {
  TCharacterPlaces& places = Places();
  places.learn(texts);
  std::size_t characters = 0;
  for (const QString& text : texts) characters += static_cast<std::size_t>(text.size());
  places_.reserve(characters);
  starts_.reserve(texts.size() + 1);
  for (const QString& text : texts) {
    starts_.push_back(static_cast<std::uint32_t>(places_.size()));
    TCharacterPlaces::ForEachCharacter(text, [&](char32_t c) {
      const std::uint32_t place = places.place(c);
      if (place != kIgnored) places_.push_back(place);
    });
  }
  starts_.push_back(static_cast<std::uint32_t>(places_.size()));
}

int TCollationKeys::compare(int a, int b) const {
  const std::uint32_t* x = places_.data() + starts_[a];
  const std::uint32_t* xEnd = places_.data() + starts_[a + 1];
  const std::uint32_t* y = places_.data() + starts_[b];
  const std::uint32_t* yEnd = places_.data() + starts_[b + 1];
  for (; x != xEnd && y != yEnd; ++x, ++y)
    if (*x != *y) return *x < *y ? -1 : 1;
  if (x != xEnd) return 1;
  return y != yEnd ? -1 : 0;
}

void Quicksort(std::vector<int>& indexes, int low, int high, const TCollationKeys& keys,
               std::mt19937& random) {
  // The smaller side is sorted by recursion, the larger one by the loop, so the depth stays
  // logarithmic whatever the pivots.
  while (low < high) {
    const int pivot = indexes[std::uniform_int_distribution<int>(low, high)(random)];
    int less = low;
    int at = low;
    int greater = high;
    while (at <= greater) {
      const int order = keys.compare(indexes[at], pivot);
      if (order < 0)
        std::swap(indexes[less++], indexes[at++]);
      else if (order > 0)
        std::swap(indexes[at], indexes[greater--]);
      else
        ++at;
    }
    if (less - low < high - greater) {
      Quicksort(indexes, low, less - 1, keys, random);
      low = greater + 1;
    } else {
      Quicksort(indexes, greater + 1, high, keys, random);
      high = less - 1;
    }
  }
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
