// cow_String: an immutable-looking byte string whose copies share one buffer until one of them
// is written to. Besides the ordinary (possibly empty) strings there is a distinct null string,
// used for "no value" results: it has Length() 0 but is not equal to "".
//
// Distinct copies may be used from different threads; one object must not be written from
// two threads at once.
#pragma once

#include <algorithm>
#include <atomic>
#include <charconv>
#include <compare>
#include <cstddef>
#include <cstring>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "omi_Assert.h"

class cow_String {
 public:
  static constexpr size_t npos = static_cast<size_t>(-1);

  cow_String() = default;
  // A nullptr gives the null string.
  cow_String(const char* s) : null_(s == nullptr) {
    if (s != nullptr && *s != '\0') rep_ = std::make_shared<std::string>(s);
  }
  cow_String(const char* s, size_t n) {
    OMI_ASSERT(s != nullptr || n == 0);
    if (n > 0) rep_ = std::make_shared<std::string>(s, n);
  }
  cow_String(const std::string& s) {
    if (!s.empty()) rep_ = std::make_shared<std::string>(s);
  }
  cow_String(std::string&& s) {
    if (!s.empty()) rep_ = std::make_shared<std::string>(std::move(s));
  }
  cow_String(std::string_view s) {
    if (!s.empty()) rep_ = std::make_shared<std::string>(s);
  }

  static cow_String Null() { return cow_String(static_cast<const char*>(nullptr)); }

  bool IsNull() const { return null_; }
  size_t Length() const { return rep_ ? rep_->size() : 0; }
  bool IsEmpty() const { return Length() == 0; }
  // Always NUL-terminated; "" for the null and the empty string.
  const char* CStr() const { return rep_ ? rep_->c_str() : ""; }
  std::string_view View() const { return rep_ ? std::string_view(*rep_) : std::string_view(); }
  std::string Std() const { return rep_ ? *rep_ : std::string(); }

  // Index Length() is allowed and yields the terminating '\0', as callers scanning for the
  // terminator expect; anything beyond asserts.
  char operator[](size_t i) const {
    OMI_ASSERT(i <= Length());
    return CStr()[i];
  }
  char At(size_t i) const {
    OMI_ASSERT(i < Length());
    return (*rep_)[i];
  }

  // Storage hint for a run of appends; does not change the value.
  void Reserve(size_t n) { Mutable(n > Length() ? n - Length() : 0).reserve(n); }
  size_t Capacity() const { return rep_ ? rep_->capacity() : 0; }

  // Appending always yields a non-null string, even when nothing is appended.
  cow_String& Append(const char* s, size_t n) {
    OMI_ASSERT(s != nullptr || n == 0);
    // If s points into our own buffer and that buffer is shared, Mutable() switches us to a
    // private copy while the other owner keeps the old buffer (and s) alive.
    std::string& str = Mutable(n);
    str.append(s, n);
    null_ = false;
    return *this;
  }
  cow_String& Append(const cow_String& s) { return Append(s.View().data(), s.Length()); }
  cow_String& Append(std::string_view s) { return Append(s.data(), s.size()); }
  cow_String& Append(const char* s) { return s ? Append(s, std::strlen(s)) : Append(s, 0); }
  cow_String& Append(char c) { return Append(&c, 1); }
  cow_String& operator+=(const cow_String& s) { return Append(s); }
  cow_String& operator+=(const char* s) { return Append(s); }
  cow_String& operator+=(char c) { return Append(c); }

  // The left operand is taken by value so that a temporary's buffer is reused.
  friend cow_String operator+(cow_String a, const cow_String& b) { return std::move(a.Append(b)); }
  friend cow_String operator+(cow_String a, const char* b) { return std::move(a.Append(b)); }
  friend cow_String operator+(const char* a, const cow_String& b) {
    cow_String r;
    const size_t n = a ? std::strlen(a) : 0;
    r.Reserve(n + b.Length());
    r.Append(a, n);
    r.Append(b);
    return r;
  }

  // Byte-wise ordering (unsigned bytes, a proper prefix first); the null string orders before
  // every other string, including "", and equals only itself.
  int Compare(const cow_String& o) const {
    if (null_ || o.null_) return null_ == o.null_ ? 0 : (null_ ? -1 : 1);
    return Sign(View().compare(o.View()));
  }
  // A nullptr compares as the null string.
  int Compare(const char* s) const {
    if (s == nullptr) return null_ ? 0 : 1;
    if (null_) return -1;
    return Sign(View().compare(std::string_view(s)));
  }
  friend bool operator==(const cow_String& a, const cow_String& b) {
    return a.null_ == b.null_ && a.View() == b.View();
  }
  friend bool operator==(const cow_String& a, const char* b) { return a.Compare(b) == 0; }
  friend std::strong_ordering operator<=>(const cow_String& a, const cow_String& b) {
    return a.Compare(b) <=> 0;
  }
  friend std::strong_ordering operator<=>(const cow_String& a, const char* b) {
    return a.Compare(b) <=> 0;
  }

  // Position of the first occurrence of text at or after from; Length() when there is none.
  size_t Find(const cow_String& text, size_t from = 0) const {
    if (from > Length()) return Length();
    const size_t p = View().find(text.View(), from);
    return p == std::string_view::npos ? Length() : p;
  }

  // Transformations of the null string give the null string.
  cow_String Substr(size_t pos, size_t count = npos) const {
    OMI_ASSERT(pos <= Length());
    if (null_) return *this;
    if (pos == 0 && count >= Length()) return *this;
    return cow_String(View().substr(pos, count));
  }
  cow_String TrimLeft(char c = ' ') const {
    const size_t b = View().find_first_not_of(c);
    return b == std::string_view::npos ? Substr(Length()) : Substr(b);
  }
  cow_String TrimRight(char c = ' ') const {
    const size_t e = View().find_last_not_of(c);
    return e == std::string_view::npos ? Substr(0, 0) : Substr(0, e + 1);
  }
  cow_String Trim(char c = ' ') const { return TrimLeft(c).TrimRight(c); }

  // Replaces every occurrence of placeholder by value. Occurrences are looked for in the
  // original text only, left to right, so a value that itself contains the placeholder is
  // inserted once and never expanded again.
  cow_String Substitute(const cow_String& placeholder, const cow_String& value) const {
    const std::string_view src = View(), ph = placeholder.View(), val = value.View();
    if (ph.empty()) return *this;
    size_t hit = src.find(ph);
    if (hit == std::string_view::npos) return *this;
    std::string out;
    out.reserve(src.size());
    size_t start = 0;
    for (; hit != std::string_view::npos; hit = src.find(ph, start)) {
      out.append(src, start, hit - start).append(val);
      start = hit + ph.size();
    }
    out.append(src, start);
    return cow_String(std::move(out));
  }

  static cow_String FromInt(long long v) {
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return cow_String(buf, static_cast<size_t>(r.ptr - buf));
  }
  // Shortest text that reads back as the same double.
  static cow_String FromDouble(double v) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return cow_String(buf, static_cast<size_t>(r.ptr - buf));
  }

  long UseCount() const { return rep_.use_count(); }
  bool IsShared() const { return rep_.use_count() > 1; }

  friend std::ostream& operator<<(std::ostream& os, const cow_String& s) { return os << s.View(); }

 private:
  static int Sign(int c) { return (c > 0) - (c < 0); }

  // Our own, unshared buffer, with room for `extra` more bytes when it has to be made. The
  // acquire fence pairs with the release in the other owners' reference drops, so their last
  // reads of the buffer happen before our writes.
  std::string& Mutable(size_t extra) {
    if (!rep_) {
      rep_ = std::make_shared<std::string>();
      rep_->reserve(extra);
    } else if (rep_.use_count() > 1) {
      auto copy = std::make_shared<std::string>();
      copy->reserve(rep_->size() + extra);
      copy->assign(*rep_);
      rep_ = std::move(copy);
    } else {
      std::atomic_thread_fence(std::memory_order_acquire);
    }
    return *rep_;
  }

  std::shared_ptr<std::string> rep_;  // null for the empty and the null string
  bool null_ = false;
};

template <>
struct std::hash<cow_String> {
  size_t operator()(const cow_String& s) const noexcept {
    return std::hash<std::string_view>()(s.View());
  }
};
