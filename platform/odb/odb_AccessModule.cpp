#include "odb_AccessModule.h"

#include <memory>

#include "ddr_Root.h"
#include "odb_CalculixImporter.h"
#include "odb_WriterIntObj.h"
#include "omu_PrimNone.h"
#include "omu_PrimString.h"
#include "res_Enumerations.h"

namespace {
std::unique_ptr<odb_AccessModule>& Owner() {
  static std::unique_ptr<odb_AccessModule> module;
  return module;
}
const omu_MethodRow kNoMethods[] = {{"", nullptr}};
}  // namespace

namespace {
constexpr omu_Parameter kCreateParameters[] = {
    {"path", "str or os.PathLike", nullptr, "the results file; it appears at close()"},
    {nullptr, nullptr, nullptr, nullptr}};
const omu_Signature kCreate{"Starts writing a results file.", kCreateParameters, "OdbWriter"};
constexpr omu_Parameter kFromCalculixParameters[] = {
    {"job", "str or os.PathLike", nullptr, "the job: its .frd, its .dat or its name"},
    {"out", "str or os.PathLike", "''", "the results file; '' gives <job>.xyp.h5 beside the job"},
    {nullptr, nullptr, nullptr, nullptr}};
const omu_Signature kFromCalculix{"Imports a CalculiX job's .frd and .dat into a results file.",
                                  kFromCalculixParameters, "str (the results file's path)"};
}  // namespace

odb_AccessModule::odb_AccessModule() : pyo_Module(kName, kNoMethods, IMPORTABLE) {
  AddFunction("create", &odb_WriterIntObj::Create, &kCreate);
  AddFunction("fromCalculix", &odb_AccessModule::FromCalculix, &kFromCalculix);
  DefineConstant(omu_PrimEnum<res_ComplexDisplayEnm>());
  DefineConstant(omu_PrimEnum<res_OutputPositionEnm>());
  DefineConstant(omu_PrimEnum<res_DomainEnm>());
  DefineConstant(omu_PrimEnum<res_SetTypeEnm>());
  DefineConstant(omu_PrimEnum<res_ElementShapeEnm>());
}

void odb_AccessModule::Create() {
  if (!Owner()) Owner() = std::make_unique<odb_AccessModule>();
}

void odb_AccessModule::Destroy() {
  Owner().reset();
}

omu_Result odb_AccessModule::FromCalculix(omu_Arguments& args) {
  cow_String job;
  cow_String out;
  args.Begin();
  args.Get(job, "job");
  args.Optional();
  args.Get(out, "out");
  args.End();
  const odb_CalculixImporter::Job resolved = odb_CalculixImporter::Resolve(ddr_Root::RealPath(job));
  const cow_String target = out.IsEmpty() ? odb_CalculixImporter::DefaultTarget(resolved) : out;
  return std::make_unique<omu_PrimString>(odb_CalculixImporter::Import(resolved, target));
}
