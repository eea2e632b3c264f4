#pragma once
// The arguments of one scripting call, read in a fixed order: Begin; Get for each argument, the
// required ones first; Alternative to try a second form when the last read took no value;
// Optional before the optional ones; End, which reports a missing or ill-kinded required argument
// and any keyword that nobody read.
//
// A required argument that is absent or of the wrong kind does not raise at once: the failure is
// held so that Alternative can try another form, and raised at Optional or End.
// An optional argument of the wrong kind raises at once. An absent argument leaves its target as
// preset, so callers preset defaults before reading.
#include <memory>
#include <utility>
#include <vector>

#include "cow_String.h"
#include "omu_Deprecation.h"
#include "omu_PrimSequence.h"
#include "omu_Primitive.h"
#include "omu_Signature.h"
#include "omu_ValueReader.h"

class omu_Arguments {
 public:
  explicit omu_Arguments(cow_String command = "");
  omu_Arguments(const omu_Arguments&) = delete;
  omu_Arguments& operator=(const omu_Arguments&) = delete;

  void AddPositional(std::unique_ptr<omu_Primitive> value);
  // A keyword given twice keeps the later value.
  void AddKeyword(const cow_String& keyword, std::unique_ptr<omu_Primitive> value);
  const cow_String& Command() const { return command_; }
  // The description of what the command reads: reading a keyword it does not declare is a
  // fault of the command (std::logic_error), found by any test that reaches that read.
  void Declare(const omu_Signature* signature) { signature_ = signature; }
  const omu_Signature* Signature() const { return signature_; }
  std::size_t PositionalCount() const { return positional_.size(); }
  std::size_t KeywordCount() const { return keywords_.size(); }

  void Begin();
  // The next positional argument.
  template <class T>
  bool Get(T& value);
  // The argument under `keyword`; before Optional, else the next positional one.
  template <class T>
  bool Get(T& value, const char* keyword);
  // An object of a scripting type under `keyword`; `fallback` when absent or None.
  template <class T>
  bool Get(std::shared_ptr<T>& object, const char* keyword, std::shared_ptr<T> fallback);
  // An old keyword: read like an optional keyword; when given, a deprecation warning names its
  // replacement.
  template <class T>
  bool DeprecatedGet(T& value, const char* keyword, const char* replacement,
                     const char* version = "6.2");
  // The packed numbers of a sequence under `keyword`, moved out of the call rather than copied;
  // false (nothing read) when the keyword is absent or holds no packed sequence.
  bool TakePairValues(const char* keyword, std::vector<double>& values);
  // The same as float32 numbers (rounded to nearest): a float32 buffer is copied once.
  bool TakePairValuesAsFloats(const char* keyword, std::vector<float>& values);
  // True when the last read took no value: the caller tries the next form of the call.
  bool Alternative();
  // From here on, absent arguments are not an error. Raises a pending required-argument failure.
  void Optional();
  void End(const char* context = "");
  // Raises the failure that made the first form of the call give way to an alternative.
  [[noreturn]] void RaiseFormError() const;

  // The call's arguments as a script writes them: "(name='a', data=((1, 2),))"; a sequence of more
  // than 4 pairs or 16 items is written as its size ("<1000000 pairs>").
  cow_String AsRepr() const;

 private:
  struct Slot {
    cow_String keyword;  // empty for positional arguments
    std::unique_ptr<omu_Primitive> value;
    bool consumed = false;
  };
  Slot* FindKeyword(const char* keyword);
  // Without the declaration check: old keywords are declared by the read that takes them.
  Slot* FindAnyKeyword(const char* keyword);
  // The packed sequence under `keyword`, marked read; null (nothing read) for any other value.
  omu_PrimSequence* TakePacked(const char* keyword);
  Slot* NextPositional();
  template <class T>
  bool Take(Slot* slot, T& value, const cow_String& what);
  void Fail(cow_String message);
  cow_String Describe(const cow_String& what) const;
  [[noreturn]] void RaisePending() const;

  cow_String command_;
  const omu_Signature* signature_ = nullptr;
  std::vector<Slot> positional_;
  std::vector<Slot> keywords_;
  std::size_t cursor_ = 0;
  bool optional_ = false;
  bool lastTook_ = true;
  bool pendingIsKeyword_ = false;
  cow_String pending_;
  cow_String pendingKeyword_;
  cow_String formError_;
  cow_String formKeyword_;
};

template <class T>
bool omu_Arguments::Take(Slot* slot, T& value, const cow_String& what) {
  if (!slot) {
    lastTook_ = false;
    if (!optional_) {
      Fail(Describe("missing required argument '" + what + "' (" +
                    omu_ValueReader::Expected(value) + ")"));
      pendingKeyword_ = what;
    }
    return false;
  }
  if (omu_ValueReader::Read(*slot->value, value)) {
    slot->consumed = true;
    lastTook_ = true;
    return true;
  }
  cow_String text = Describe(omu_ValueReader::WrongKindText(
      "'" + what + "'", omu_ValueReader::Expected(value), *slot->value));
  lastTook_ = false;
  if (optional_) {
    slot->consumed = true;
    omu_ValueReader::RaiseWrongKind(Describe("'" + what + "'"), omu_ValueReader::Expected(value),
                                    *slot->value);
  }
  Fail(text);
  pendingKeyword_ = what;
  return false;
}

template <class T>
bool omu_Arguments::Get(T& value) {
  Slot* slot = NextPositional();
  return Take(slot, value, "argument " + cow_String::FromInt(static_cast<long long>(cursor_)));
}

template <class T>
bool omu_Arguments::Get(T& value, const char* keyword) {
  Slot* slot = FindKeyword(keyword);
  // Required arguments may also come by position; optional ones only by keyword.
  if (!slot && !optional_) slot = NextPositional();
  return Take(slot, value, keyword);
}

template <class T>
bool omu_Arguments::Get(std::shared_ptr<T>& object, const char* keyword,
                        std::shared_ptr<T> fallback) {
  Slot* slot = FindKeyword(keyword);
  if (!slot || slot->value->Kind() == omu_PrimKind::None) {
    if (slot) slot->consumed = true;  // None stands for the default, as an absent keyword does
    object = std::move(fallback);
    lastTook_ = false;
    return false;
  }
  return Take(slot, object, keyword);
}

template <class T>
bool omu_Arguments::DeprecatedGet(T& value, const char* keyword, const char* replacement,
                                  const char* version) {
  Slot* slot = FindAnyKeyword(keyword);
  if (!slot) {
    lastTook_ = false;
    return false;
  }
  bool wasOptional = optional_;
  optional_ = true;  // an old keyword is never required
  bool took = Take(slot, value, keyword);
  optional_ = wasOptional;
  if (took) omu_Deprecation::Warn(omu_Deprecation::Text(keyword, version, replacement));
  return took;
}
