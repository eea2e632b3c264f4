#include "odpK_OdbToolset.h"

#include "ddr_Root.h"
#include "omu_PrimNumber.h"
#include "omu_PrimString.h"
#include "thr_ThreadSingleton.h"

std::vector<int> odpK_OdbToolset::GetStepListFromTuple(const cow_String& fileName,
                                                       const omu_PrimSequence& steps) {
  const odb_Odb* odb = thr_ThreadSingleton<ddr_Root>::Instance().Find(fileName);
  if (!odb) return {};
  const std::vector<ddb_Step>& container = odb->Steps();
  std::vector<int> indices;
  indices.reserve(steps.Size());
  for (std::size_t i = 0; i < steps.Size(); ++i) {
    const omu_Primitive& item = steps.Item(i);
    int found = -1;
    if (item.Kind() == omu_PrimKind::String) {
      const cow_String& name = static_cast<const omu_PrimString&>(item).Value();
      for (std::size_t k = 0; k < container.size() && found < 0; ++k)
        if (container[k].name == name) found = static_cast<int>(k);
    } else if (item.Kind() == omu_PrimKind::Number) {
      const auto& number = static_cast<const omu_PrimNumber&>(item);
      if (number.IsInteger() && number.AsInteger() >= 1 &&
          number.AsInteger() <= static_cast<long long>(container.size()))
        found = static_cast<int>(number.AsInteger() - 1);
    }
    if (found < 0) return {};
    indices.push_back(found);
  }
  return indices;
}
