// Font attributes, their validation and the change notification.
#include "controls/base/host/font_object.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "common/run_time_error.h"

namespace veltrin::controls {

FontSubscription& FontSubscription::operator=(FontSubscription&& other) noexcept {
  if (this != &other) {
    Reset();
    list_ = std::move(other.list_);
    id_ = std::exchange(other.id_, 0);
  }
  return *this;
}

void FontSubscription::Reset() noexcept {
  if (auto list = list_.lock()) {
    std::erase_if(*list, [this](const Entry& e) { return e.id == id_; });
  }
  list_.reset();
  id_ = 0;
}

FontObject::FontObject(std::wstring name, double size)
    : name_(std::move(name)), size_(0), handlers_(std::make_shared<FontSubscription::List>()) {
  SetSize(size);
}

void FontObject::SetName(std::wstring name) {
  Change(name_, std::move(name), L"Name");
}

void FontObject::SetSize(double points) {
  if (!(points >= 0) || points > 1e6) throw RunTimeError(kInvalidPropertyValue);
  Change(size_, std::round(points * 10000.0) / 10000.0, L"Size");
}

void FontObject::SetBold(bool bold) {
  if (bold == Bold()) return;
  weight_ = bold ? 700 : 400;
  Notify(L"Bold");
}

void FontObject::SetItalic(bool italic) {
  Change(italic_, italic, L"Italic");
}

void FontObject::SetUnderline(bool underline) {
  Change(underline_, underline, L"Underline");
}

void FontObject::SetStrikethrough(bool strikethrough) {
  Change(strikethrough_, strikethrough, L"Strikethrough");
}

void FontObject::SetCharset(int16_t charset) {
  Change(charset_, charset, L"Charset");
}

void FontObject::SetWeight(int16_t weight) {
  if (weight < 0 || weight > 1000) throw RunTimeError(kInvalidPropertyValue);
  Change(weight_, weight, L"Weight");
}

std::shared_ptr<FontObject> FontObject::Clone() const {
  auto copy = std::make_shared<FontObject>(name_, size_);
  copy->italic_ = italic_;
  copy->underline_ = underline_;
  copy->strikethrough_ = strikethrough_;
  copy->charset_ = charset_;
  copy->weight_ = weight_;
  return copy;
}

bool FontsEqual(const FontObject* a, const FontObject* b) noexcept {
  if (!a || !b) return a == b;
  return a->Name() == b->Name() && a->Size() == b->Size() && a->Italic() == b->Italic() &&
         a->Underline() == b->Underline() && a->Strikethrough() == b->Strikethrough() &&
         a->Charset() == b->Charset() && a->Weight() == b->Weight();
}

FontSubscription FontObject::Subscribe(ChangeHandler handler) {
  const uint64_t id = next_id_++;
  handlers_->push_back({id, std::move(handler)});
  return FontSubscription(handlers_, id);
}

void FontObject::Notify(const wchar_t* property) {
  // A handler may subscribe or unsubscribe while we call: work on a snapshot, and skip entries
  // that were removed in the meantime.
  const FontSubscription::List snapshot = *handlers_;
  const std::wstring name(property);
  for (const auto& entry : snapshot) {
    const bool still_there = std::any_of(handlers_->begin(), handlers_->end(),
                                         [&](const auto& e) { return e.id == entry.id; });
    if (still_there) entry.handler(name);
  }
}

}  // namespace veltrin::controls
