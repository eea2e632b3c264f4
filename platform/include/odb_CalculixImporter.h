#pragma once
// Turns a CalculiX job (its .frd results and .dat printed tables) into one results file of
// ours: the .frd gives the model, the steps and their frames of field output, the .dat the
// history output. The job is named by its .frd, its .dat or its name without extension. The
// results file appears whole or not at all: any fault in either file (odb_OdbException naming
// file and line) or an interruption (cmdC_InterruptedException) leaves the target untouched.
#include "cow_String.h"

class odb_CalculixImporter {
 public:
  // The job's files, from any of its three names.
  struct Job {
    cow_String name;  // the job's name: the files' base name without folder or extension
    cow_String base;  // the path without extension
    cow_String frd;   // empty when the job has none
    cow_String dat;   // empty when the job has none
  };
  // odb_OdbException when the job has neither file.
  static Job Resolve(const cow_String& job);
  // Where the results file of a job goes by default: "<base>.xyp.h5".
  static cow_String DefaultTarget(const Job& job);
  // Whether `target` exists and is newer than every file of the job.
  static bool IsCurrent(const Job& job, const cow_String& target);
  // Writes the results file of the job at `target` (replacing it atomically); returns `target`.
  static cow_String Import(const Job& job, const cow_String& target);
};
