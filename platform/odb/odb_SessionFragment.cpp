#include "odb_SessionFragment.h"

#include <memory>

#include "ddr_Root.h"
#include "oda_OdbIntObj.h"
#include "odb_CalculixImporter.h"
#include "odb_OdbDictIntObj.h"
#include "omu_Arguments.h"
#include "omu_PrimType.h"
#include "thr_ThreadSingleton.h"

namespace {
std::unique_ptr<odb_SessionFragment>& Owner() {
  static std::unique_ptr<odb_SessionFragment> fragment;
  return fragment;
}
}  // namespace

namespace {
constexpr omu_Parameter kOpenOdbParameters[] = {
    {"path", "str or os.PathLike", nullptr, "the results file, or a job's .frd"},
    {nullptr, nullptr, nullptr, nullptr}};
const omu_Signature kOpenOdb{
    "Opens a results file (or a CalculiX job's .frd, imported beside it) for reading.",
    kOpenOdbParameters, "Odb", omu_Signature::Form::Keywords};
}  // namespace

const omu_MethodRow odb_SessionFragment::methods_[] = {
    {"openOdb", omu_Method<&odb_SessionFragment::OpenOdb>, &kOpenOdb}, {"", nullptr}};
const omu_MemberRow odb_SessionFragment::members_[] = {
    {"odbs", omu_Getter<&odb_SessionFragment::GetOdbs>, nullptr, "mapping of path to Odb",
     "the open results files"},
    {"", nullptr, nullptr}};

odb_SessionFragment::odb_SessionFragment() {
  DescribeType(TypeName(), methods_, members_);
}

std::unique_ptr<omu_InterfaceObj> odb_SessionFragment::Copy() const {
  return std::make_unique<odb_SessionFragment>();
}

omu_Result odb_SessionFragment::OpenOdb(omu_Arguments& args) {
  cow_String path;
  args.Begin();
  args.Get(path, "path");
  args.End();
  ddr_Root& root = thr_ThreadSingleton<ddr_Root>::Instance();
  // A CalculiX job opens through its results file beside it, imported unless newer than the job.
  const std::string name = path.Std();
  if (name.size() > 4 && (name.compare(name.size() - 4, 4, ".frd") == 0 ||
                          name.compare(name.size() - 4, 4, ".FRD") == 0)) {
    const odb_CalculixImporter::Job job = odb_CalculixImporter::Resolve(ddr_Root::RealPath(path));
    const cow_String target = odb_CalculixImporter::DefaultTarget(job);
    if (!root.Find(ddr_Root::RealPath(target)) && !odb_CalculixImporter::IsCurrent(job, target))
      odb_CalculixImporter::Import(job, target);
    path = target;
  }
  const odb_Odb& odb = root.Open(path);
  return std::make_unique<omu_PrimType>(
      std::make_shared<oda_OdbIntObj>(odb.Path(), odb.Generation()));
}

omu_Result odb_SessionFragment::GetOdbs() {
  return std::make_unique<omu_PrimType>(std::make_shared<odb_OdbDictIntObj>());
}

void odb_SessionFragment::Create() {
  if (!Owner()) Owner() = std::make_unique<odb_SessionFragment>();
}

void odb_SessionFragment::Destroy() {
  thr_ThreadSingleton<ddr_Root>::Instance().CloseAll();
  Owner().reset();
  thr_ThreadSingleton<ddr_Root>::Finalize();
}
