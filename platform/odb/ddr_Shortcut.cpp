#include "ddr_Shortcut.h"

#include "ddr_Root.h"
#include "odiK_Model.h"
#include "thr_ThreadSingleton.h"

namespace {
const odb_Odb* Open(const cow_String& path, std::uint64_t generation) {
  if (path.IsEmpty() || !omi_Singleton<ddr_Root>::Exists()) return nullptr;
  return thr_ThreadSingleton<ddr_Root>::Instance().Find(path, generation);
}
}  // namespace

template <>
const odiK_Model* ddr_Shortcut<odiK_Model>::Get() const {
  const odb_Odb* odb = Open(path_, generation_);
  return odb ? &odb->Model() : nullptr;
}

template <>
const odiK_BaseInstance* ddr_Shortcut<odiK_BaseInstance>::Get() const {
  const odb_Odb* odb = Open(path_, generation_);
  if (!odb || index_ < 0 || index_ >= odb->Model().NumInstances()) return nullptr;
  return &odb->Model().instances[static_cast<std::size_t>(index_)];
}
