#pragma once
// The XY-plot module's maker of interactive procedures, registered with the application under
// "xyp". The module has no procedures of its own.
#include "mmgK_ModeFactory.h"

class xypK_ModeFactory : public mmgK_ModeFactory {
 public:
  static constexpr const char* kName = "xyp";
  xypK_ModeFactory();
  ~xypK_ModeFactory() override;
  xypK_ModeFactory(const xypK_ModeFactory&) = delete;
  xypK_ModeFactory& operator=(const xypK_ModeFactory&) = delete;

  std::unique_ptr<mmgK_Procedure> MakeProcedure(const cow_String& name) override;
};
