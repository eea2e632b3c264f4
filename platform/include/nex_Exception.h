#pragma once
// Base of every exception the application raises to a script: a message, a numeric code and up to
// two detail strings, stamped with the source file and line that raised it.
#include <exception>
#include <utility>

#include "cow_String.h"

class nex_Exception : public std::exception {
 public:
  explicit nex_Exception(cow_String message, int code = 0, cow_String detail1 = "",
                         cow_String detail2 = "");
  ~nex_Exception() override;

  const char* what() const noexcept override { return message_.CStr(); }
  const cow_String& Message() const { return message_; }
  int Code() const { return code_; }
  const cow_String& Detail1() const { return detail1_; }
  const cow_String& Detail2() const { return detail2_; }
  const char* File() const { return file_; }
  int Line() const { return line_; }

  // Stamps the raising place and throws the exception as its most derived type.
  template <class E>
  [[noreturn]] static void Throw(E exception, const char* file, int line) {
    exception.file_ = file;
    exception.line_ = line;
    throw std::move(exception);
  }

 private:
  cow_String message_;
  int code_;
  cow_String detail1_;
  cow_String detail2_;
  const char* file_ = "";
  int line_ = 0;
};

#define NEX_THROW(exception) nex_Exception::Throw((exception), __FILE__, __LINE__)
