#include "odb_CalculixImporter.h"

#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "cmdC_WIP.h"
#include "odb_DatReader.h"
#include "odb_FrdReader.h"
#include "odb_OdbException.h"
#include "odb_Writer.h"
#include "omi_Singleton.h"

namespace {

bool IsFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// Modification time in nanoseconds; -1 when the file is missing.
long long ModifiedAt(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return -1;
  return static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

odb_CalculixImporter::Job odb_CalculixImporter::Resolve(const cow_String& path) {
  std::string base = path.Std();
  // Relative names resolve against the working folder now, so the returned path stays valid.
  if (!base.empty() && base[0] != '/') {
    char folder[4096];
    if (::getcwd(folder, sizeof folder)) base = std::string(folder) + "/" + base;
  }
  for (const char* extension : {".frd", ".dat", ".FRD", ".DAT"})
    if (EndsWith(base, extension)) {
      base.resize(base.size() - 4);
      break;
    }
  Job job;
  job.base = cow_String(base);
  const std::size_t slash = base.rfind('/');
  job.name = cow_String(slash == std::string::npos ? base : base.substr(slash + 1));
  if (IsFile(base + ".frd")) job.frd = cow_String(base + ".frd");
  if (IsFile(base + ".dat")) job.dat = cow_String(base + ".dat");
  if (job.name.IsEmpty() || (job.frd.IsEmpty() && job.dat.IsEmpty()))
    throw odb_OdbException(
        path, "no CalculiX job: neither " + base + ".frd nor " + base + ".dat is a file");
  return job;
}

cow_String odb_CalculixImporter::DefaultTarget(const Job& job) {
  return job.base + ".xyp.h5";
}

bool odb_CalculixImporter::IsCurrent(const Job& job, const cow_String& target) {
  const long long made = ModifiedAt(target.Std());
  if (made < 0) return false;
  for (const cow_String* file : {&job.frd, &job.dat})
    if (!file->IsEmpty() && ModifiedAt(file->Std()) >= made) return false;
  return true;
}

cow_String odb_CalculixImporter::Import(const Job& job, const cow_String& target) {
  // The model comes from the .frd: printed tables alone do not say where their nodes are.
  if (job.frd.IsEmpty())
    throw odb_OdbException(job.dat, "the job has no .frd (" + job.base.Std() +
                                        ".frd): its model is needed to place the printed tables");
  odb_Writer writer(target);
  odb_FrdReader frd(job.frd, job.name, writer);
  frd.Read();
  if (!frd.HasModel())
    throw odb_OdbException(job.frd,
                           "holds no model (no node block): the job may have stopped "
                           "before its output");
  if (!job.dat.IsEmpty()) {
    odb_DatReader dat(job.dat, job.name, writer, frd.Steps());
    dat.Read();
  }
  cmdC_WIP& wip = omi_Singleton<cmdC_WIP>::Instance();
  wip.InterruptedThrow();
  writer.Close();
  wip.EndProgress();
  return target;
}
