#include "omu_DictIntObjABC.h"

#include "omu_Arguments.h"
#include "omu_KeywordErrorException.h"
#include "omu_PrimList.h"
#include "omu_PrimNone.h"
#include "omu_PrimString.h"

namespace {
constexpr omu_Parameter kKeysParameters[] = {{nullptr, nullptr, nullptr, nullptr}};
const omu_Signature kKeys{"The names, ascending.", kKeysParameters, "list of str",
                          omu_Signature::Form::Keywords};
constexpr omu_Parameter kChangeKeyParameters[] = {{"fromName", "str", nullptr, "the present name"},
                                                  {"toName", "str", nullptr, "the new name"},
                                                  {nullptr, nullptr, nullptr, nullptr}};
const omu_Signature kChangeKey{"Renames an entry.", kChangeKeyParameters, nullptr,
                               omu_Signature::Form::Keywords};
constexpr omu_Parameter kSummaryParameters[] = {{nullptr, nullptr, nullptr, nullptr}};
const omu_Signature kSummary{"The entries' names and descriptions.", kSummaryParameters,
                             "'EMPTY SUMMARY' or rows of (name, description)",
                             omu_Signature::Form::Keywords};
}  // namespace

const omu_MethodRow omu_DictIntObjABC::methods_[] = {
    {"keys", omu_Method<&omu_DictIntObjABC::KeysCmd>, &kKeys},
    {"changeKey", omu_Method<&omu_DictIntObjABC::ChangeKeyCmd>, &kChangeKey},
    {"summary", omu_Method<&omu_DictIntObjABC::SummaryCmd>, &kSummary},
    {"", nullptr}};

omu_DictIntObjABC::omu_DictIntObjABC() {
  DescribeType(TypeName(), methods_, nullptr);
}

void omu_DictIntObjABC::ChangeKey(const cow_String&, const cow_String&) {
  throw omu_KeywordErrorException(
      cow_String("'") + ObjectTypeName() + "' does not support renaming its keys", "");
}

omu_Result omu_DictIntObjABC::Summary() {
  return std::make_unique<omu_PrimString>("EMPTY SUMMARY");
}

omu_Result omu_DictIntObjABC::KeysCmd(omu_Arguments& args) {
  args.Begin();
  args.End();
  auto list = std::make_unique<omu_PrimList>();
  for (const cow_String& key : Keys()) list->Append(std::make_unique<omu_PrimString>(key));
  return list;
}

omu_Result omu_DictIntObjABC::ChangeKeyCmd(omu_Arguments& args) {
  cow_String from, to;
  args.Begin();
  args.Get(from, "fromName");
  args.Get(to, "toName");
  args.End();
  ChangeKey(from, to);
  return std::make_unique<omu_PrimNone>();
}

omu_Result omu_DictIntObjABC::SummaryCmd(omu_Arguments& args) {
  args.Begin();
  args.End();
  return Summary();
}
