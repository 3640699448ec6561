#include "windows/fleet/VehicleCells.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

#include "Korvane/FieldRules.h"
#include "windows/editor/TFormCarType.h"

namespace fleet {
namespace {

// The expected destinations without "市".
void FlowText(const std::string& flow, std::string& text) {
  static constexpr std::string_view kCity = "市";
  text.clear();
  for (std::size_t at = 0; at < flow.size();) {
    const std::size_t city = flow.find(kCity, at);
    const std::size_t end = city == std::string::npos ? flow.size() : city;
    text.append(flow, at, end - at);
    at = city == std::string::npos ? end : city + kCity.size();
  }
}

// The byte offset of each character of a UTF-8 text, and the text's length at the end.
std::vector<std::size_t> CharacterStarts(std::string_view text) {
  std::vector<std::size_t> starts;
  for (std::size_t at = 0; at < text.size(); ++at)
    if ((static_cast<unsigned char>(text[at]) & 0xC0) != 0x80) starts.push_back(at);
  starts.push_back(text.size());
  return starts;
}

// Of the last 17 characters of a located time, the first 14: "13-03-13 20:40" of
// "2013-03-13 20:40:12".
std::string_view LocatedTimeText(std::string_view located_time) {
  if (std::all_of(located_time.begin(), located_time.end(),
                  [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    const std::size_t first = located_time.size() > 17 ? located_time.size() - 17 : 0;
    return located_time.substr(first, 14);
  }
  const std::vector<std::size_t> starts = CharacterStarts(located_time);
  const std::size_t characters = starts.size() - 1;
  const std::size_t first = characters > 17 ? characters - 17 : 0;
  const std::size_t last = std::min(characters, first + 14);
  return located_time.substr(starts[first], starts[last] - starts[first]);
}

// The vehicle information text, made in a buffer of its own: the grid makes it for every row
// when it sorts by it, so a text of usual length needs no allocation.
class TInfoText {
 public:
  explicit TInfoText(const Korvane::TCar& car) {
    for (const std::string* model : {&car.model_1, &car.model_2, &car.model_3, &car.model_4}) {
      if (model->empty()) continue;
      const std::string_view caption = TFormCarType::CatalogueCaption(*model);
      if (length_ != 0) add(",");
      add(caption);
    }
    addItem(car.length, "米");
    addItem(car.tonnage, "吨");
  }
  std::string_view text() const {
    return long_.empty() ? std::string_view(buffer_, length_) : std::string_view(long_);
  }

 private:
  void add(std::string_view part) {
    if (long_.empty() && length_ + part.size() <= sizeof buffer_) {
      std::memcpy(buffer_ + length_, part.data(), part.size());
      length_ += part.size();
      return;
    }
    if (long_.empty()) long_.assign(buffer_, length_);
    long_ += part;
    length_ = long_.size();
  }
  void addItem(const std::string& value, std::string_view unit) {
    if (value.empty()) return;
    if (length_ != 0) add(",");
    add(value);
    add(unit);
  }

  char buffer_[256];
  std::size_t length_ = 0;
  std::string long_;  // a text longer than the buffer
};

}  // namespace

std::string VehicleInfoText(const Korvane::TCar& car) { return std::string(TInfoText(car).text()); }

std::string_view CarCellUtf8(const Korvane::TCar& car, int column, bool membershipValid,
                             std::string& scratch) {
  switch (column) {
    case kPlateColumn:
      return car.plate_number;
    case kInfoColumn: {
      const TInfoText info(car);
      scratch.assign(info.text());
      return scratch;
    }
    case kDriverColumn:
      return car.driver_name;
    case kMobileColumn:
      return car.locate_number;
    case kPositionColumn:
      if (!membershipValid) return "新版客户端可以继续使用定位功能";
      scratch = Korvane::ShortLocation(car.location);
      return scratch;
    case kTimeColumn:
      return membershipValid ? LocatedTimeText(car.located_time) : "高级会员已过期";
    case kFlowColumn:
      FlowText(car.expected_flow, scratch);
      return scratch;
    case kStatusColumn:
      return car.locate_status == "1" ? kRegistered : kUnregistered;
    case kRemarkColumn:
      return car.description;
    default:
      return {};
  }
}

QString CarCellText(const Korvane::TCar& car, int column, bool membershipValid) {
  std::string scratch;
  const std::string_view text = CarCellUtf8(car, column, membershipValid, scratch);
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace fleet
