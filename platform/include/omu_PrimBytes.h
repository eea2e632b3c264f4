#pragma once
// A byte string result, such as the encoded image a viewport or a plot draws for a notebook;
// Python receives it as `bytes`. It is a string of bytes to whatever reads primitives by kind,
// so code that only knows texts handles it soundly; the scripting layer tells the two apart.
#include <string>

#include "omu_PrimString.h"

class omu_PrimBytes : public omu_PrimString {
 public:
  explicit omu_PrimBytes(std::string bytes) : omu_PrimString(cow_String(std::move(bytes))) {}
  std::unique_ptr<omu_Primitive> Clone() const override {
    return std::make_unique<omu_PrimBytes>(Value().Std());
  }
  // b'...' with every byte outside printable ASCII escaped, as the script language shows bytes.
  cow_String Repr() const override;
  cow_String DescribeKind() const override { return "bytes"; }
};
