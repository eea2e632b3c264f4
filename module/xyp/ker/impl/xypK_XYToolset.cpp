#include "xypK_XYToolset.h"

#include "omi_Singleton.h"
#include "xypK_PytModule.h"
#include "xypK_SessionFragment.h"

xypK_XYToolset& xypK_XYToolset::Instance() {
  return omi_Singleton<xypK_XYToolset>::Instance();
}
void xypK_XYToolset::Finalize() {
  omi_SingletonBase<xypK_XYToolset>::Finalize();
}
bool xypK_XYToolset::Exists() {
  return omi_Singleton<xypK_XYToolset>::Exists();
}

xypK_XYToolset::xypK_XYToolset()
    : sessionFragment_(std::make_unique<xypK_SessionFragment>()),
      module_(std::make_unique<xypK_PytModule>()) {}

xypK_XYToolset::~xypK_XYToolset() = default;

void xypK_XYToolset::DeleteXYData(const cow_String&) {}
void xypK_XYToolset::RenameXYData(const cow_String&, const cow_String&) {}
void xypK_XYToolset::UpdateXYData(const cow_String&) {}
