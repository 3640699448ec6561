#include "devservice/Console.h"

namespace devservice {

void Console::line(const std::string& text) {
  std::lock_guard lock(mutex_);
  if (out_ != nullptr) *out_ << text << std::endl;
  kept_.push_back(text);
  if (kept_.size() > kKept) kept_.pop_front();
}

std::vector<std::string> Console::lines() const {
  std::lock_guard lock(mutex_);
  return {kept_.begin(), kept_.end()};
}

}  // namespace devservice
