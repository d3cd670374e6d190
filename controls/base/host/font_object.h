// The font property value: name, size in points, style flags, character set and weight, with a
// change notification for the controls that built a GDI font from it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace veltrin::controls {

class FontObject;

// Keeps one change handler registered on a font; destroying (or resetting) it unregisters the
// handler. Safe to outlive the font.
class FontSubscription {
 public:
  FontSubscription() noexcept = default;
  FontSubscription(FontSubscription&&) noexcept = default;
  FontSubscription& operator=(FontSubscription&& other) noexcept;
  FontSubscription(const FontSubscription&) = delete;
  FontSubscription& operator=(const FontSubscription&) = delete;
  ~FontSubscription() { Reset(); }

  // Unregisters the handler; does nothing when none is registered.
  void Reset() noexcept;
  bool Active() const noexcept { return id_ != 0 && !list_.expired(); }

 private:
  friend class FontObject;
  struct Entry {
    uint64_t id;                                       // the subscription's key
    std::function<void(const std::wstring&)> handler;  // called with the property's name
  };
  using List = std::vector<Entry>;
  FontSubscription(std::weak_ptr<List> list, uint64_t id) noexcept
      : list_(std::move(list)), id_(id) {}

  std::weak_ptr<List> list_;  // the font's handlers; expired once the font is gone
  uint64_t id_ = 0;           // 0 when nothing is registered
};

class FontObject {
 public:
  using ChangeHandler = std::function<void(const std::wstring& property)>;

  // A regular font of the given face and size in points.
  explicit FontObject(std::wstring name = L"MS Shell Dlg", double size = 8.25);
  FontObject(const FontObject&) = delete;
  FontObject& operator=(const FontObject&) = delete;

  // Setters notify the subscribers with the property's name ("Name", "Size", "Bold", "Italic",
  // "Underline", "Strikethrough", "Charset", "Weight") when the value really changes.
  const std::wstring& Name() const noexcept { return name_; }
  void SetName(std::wstring name);
  // Points, kept to four decimal places like a currency value; a negative size raises error 380.
  double Size() const noexcept { return size_; }
  void SetSize(double points);
  // Bold is weight above 550; setting it makes the weight 700 or 400.
  bool Bold() const noexcept { return weight_ > 550; }
  void SetBold(bool bold);
  bool Italic() const noexcept { return italic_; }
  void SetItalic(bool italic);
  bool Underline() const noexcept { return underline_; }
  void SetUnderline(bool underline);
  bool Strikethrough() const noexcept { return strikethrough_; }
  void SetStrikethrough(bool strikethrough);
  int16_t Charset() const noexcept { return charset_; }
  void SetCharset(int16_t charset);
  // 0 to 1000; other values raise error 380.
  int16_t Weight() const noexcept { return weight_; }
  void SetWeight(int16_t weight);

  // A new font with the same attributes and no subscribers.
  std::shared_ptr<FontObject> Clone() const;
  // Registers a handler called after each change; it stays registered while the result lives.
  [[nodiscard]] FontSubscription Subscribe(ChangeHandler handler);

 private:
  // Stores `value` in `field` and notifies `property`; does nothing when the value is unchanged.
  template <typename T>
  void Change(T& field, T value, const wchar_t* property) {
    if (value == field) return;
    field = std::move(value);
    Notify(property);
  }
  void Notify(const wchar_t* property);

  std::wstring name_;  // face name
  double size_;        // points, to 1/10000
  bool italic_ = false;
  bool underline_ = false;
  bool strikethrough_ = false;
  int16_t charset_ = 1;                               // DEFAULT_CHARSET
  int16_t weight_ = 400;                              // FW_NORMAL
  uint64_t next_id_ = 1;                              // key of the next subscription
  std::shared_ptr<FontSubscription::List> handlers_;  // shared so subscriptions can outlive us
};

// Returns true when both fonts are null, false when only one is, and otherwise whether name (code
// unit by code unit), size, strikethrough, underline, italic, charset and weight are equal; bold is
// judged through the weight only.
bool FontsEqual(const FontObject* a, const FontObject* b) noexcept;

}  // namespace veltrin::controls
