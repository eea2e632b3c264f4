// libFuzzer target for opening and reading results files (odb_Odb::Open, ReadHistory, ReadField).
//
// Each input makes a results file of our layout and damages it through HDF5's C API; HDF5's own
// parser is not fuzzed: the bytes are never the file itself. The file starts as a valid model
// written by odb_Writer (so that damages deep in the layout are reached past the outer checks),
// is reopened read-write (core driver, written back to /dev/shm on close), damaged as the bytes
// say, closed, then opened with odb_Odb::Open; when it opens, every history output and every
// field is read.
//
// Input layout (a byte past the end reads as 0):
//   byte 0      the valid model: low 2 bits pick 0 rich, 1 minimal, 2 bare, 3 many steps (see
//               WriteRich ... WriteMany)
//   then up to kMaxOps damages, each an op byte and its argument bytes:
//     op byte   low 4 bits: the damage (table below); high 4 bits: its variant `v`
//   Objects are picked by index (a byte modulo the list's size) among the valid model's objects,
//   groups, datasets, list groups (members 0..n-1), attributes and history tables, sorted by path
//   (XYP_FUZZ_LIST=1 prints them); values come from kInts (a byte's low 5 bits), kDoubles (low 4
//   bits), kStringTable and kPathTable (low 5 bits; text 31 takes a length byte and that many
//   bytes from the input).
//
//   op  damage                         argument bytes
//   0   delete an object               object
//   1   rename a member                object; the new name is kNames[v] (a gap, a repeat, a name
//                                      that is no index)
//   2   replace a dataset              object; type (Type: integers and floats of every size,
//                                      order and precision, texts, compound, enum, opaque, array,
//                                      bitfield, variable-length, reference); shape (Dims);
//                                      storage: bits 0-1 contiguous, chunked, compact, deflated;
//                                      bit 2 write values, bits 5-7 which: 1, 2, 3..., zeros, a
//                                      table value, one per element from the input, else the
//                                      original's (7 when deflated: a length byte and raw bytes
//                                      as the first chunk, which do not inflate); bit 3 a fill
//                                      value, kInts[bits 4-7]
//   3   rewrite values in place        dataset; v%8+1 pairs (index, value): integers, floats or
//                                      texts as the dataset holds; a value >= 0xE0 copies another
//                                      element (repeated labels)
//   4   set an attribute               which: < 0x80 an existing attribute, else a group (one
//                                      more byte) and a name from kAttributeNames (another);
//                                      value; the kind is v: int32, int64, int8, uint64, float64,
//                                      float32, UTF-8, ASCII, fixed NUL-terminated, fixed
//                                      space-padded, 2 ints, 1-element array, null space, empty
//                                      array, null text, bitfield
//   5   delete an attribute            attribute
//   6   change history rows            table; row; a; then b for v 0-7 and 12-15. v 0-7: field
//                                      a%15 set to value b; 8 the row copied to the end; 9 the
//                                      row deleted; 10 swapped with row a; 11 no rows; 12 a null
//                                      text in field a; 13 the rows 40 times; 14-15 field a set
//                                      to a raw 4-byte integer (b and 3 more bytes)
//   7   change the history table type  table; a; then b for v 1 and 10. v: 0 field a dropped,
//                                      1 field a retyped to kind b, 2 field a renamed, 3 an extra
//                                      field, 4 fields reversed, 5 fixed-length texts, 6 8-bit
//                                      integers, 7 rows (n, 1), 8 scalar, 9 big-endian integers,
//                                      10 declared with kHuge[b] rows and unwritten (a bit 0:
//                                      deflated), 11 deflated, 12 int64 as int32, 13 integers as
//                                      float64, 14 count as text, 15 ASCII texts
//   8   hard link                      object; list group; the name is the next index (v 0), a
//                                      gap (v 1) or kNames[v]
//   9   soft link                      where (v bit 3: over an object, else a new member of a
//                                      list group); kPathTable target
//   10  external link                  where (as 9); v%8: a missing file, the side file's 1-D
//                                      floats, group, 2-D floats, integers, this file's root,
//                                      this file's /steps, a FIFO
//   11  copy members                   list group; count (kCopies, low 3 bits) and which member
//                                      (high 5 bits); v bit 0: hard links instead of copies
//                                      (always after an external link, see externalLinkMade);
//                                      v bit 1: leave a gap
//   12  replace with a group           object; v bit 0: the group holds a member "0"
//   13  declare huge, write nothing    dataset; size (kHuge[low 3 bits]); v bits 2-3: chunked
//                                      with the first or the last dimension huge, contiguous
//                                      with the first huge, or the original shape with its
//                                      values in another file; v bits 0-1: the chunks' filter
//                                      (none, deflate, shuffle, Fletcher-32) or that file (the
//                                      side file, a missing file, a FIFO, /dev/zero or this
//                                      file); for another file, the size byte's bit 3: raw
//                                      external storage, else a virtual dataset
//   14  texts dataset                  object; count; each text. v%4: UTF-8, ASCII, fixed length
//                                      8, 2-D; v bit 2: the first text null
//   15  add a member                   list group; v: group at n, group at n+1, integers at n,
//                                      floats "extra", group "extra", scalar at n, soft link to
//                                      a step, hard link to member 0
//
// A run fails (abort) on: any exception other than odb_OdbException from Open, ReadHistory or
// ReadField, or one naming another path; an opened database that breaks what opening promises
// (references and counts in range, reads of the sizes the outline gives, labels the instance
// has, onlyHasUserDefinedData); a file still byte for byte the valid model that does not open
// or read whole; HDF5 identifiers left open after the database goes. Sanitizer reports,
// crashes, leaks, hangs (-timeout) and huge allocations (-rss_limit_mb, -malloc_limit_mb) are
// findings too.
// XYP_FUZZ_VERBOSE=1 prints how each input ended; XYP_FUZZ_KEEP_FILE=1 leaves the last damaged
// file (named in the verbose line) for h5dump or h5py; XYP_FUZZ_LIST=1 prints the lists that
// damages pick from, with their indices.
#include <dirent.h>
#include <hdf5.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "cmdC_WIP.h"
#include "ddr_Root.h"
#include "nex_Exception.h"
#include "oda_OdbIntObj.h"
#include "odb_Odb.h"
#include "odb_OdbException.h"
#include "odb_Writer.h"
#include "omi_Singleton.h"
#include "omu_PrimEnumBase.h"
#include "omu_PrimNumber.h"
#include "omu_PrimString.h"
#include "omu_PrimTuple.h"
#include "omu_PrimType.h"
#include "thr_ThreadSingleton.h"
#include "uti_XypException.h"
#include "xypK_Module.h"
#include "xypK_ReadData.h"
#include "xypK_XYToolset.h"

// History points are written as aggregates, their trailing fields left at their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

constexpr int kMaxOps = 48;
constexpr int kMaxCreated = 400;  // objects an input may add (copies, links, members)
bool g_verbose = false;
bool g_keepFile = false;
std::string g_path;      // the damaged file
std::string g_sidePath;  // a second HDF5 file, the target of external links
std::string g_fifoPath;  // a FIFO: opening it for reading waits for a writer

[[noreturn]] void Fail(const char* what, const std::string& detail = std::string()) {
  std::fprintf(stderr, "\n*** odbfile_fuzzer: %s%s%s\n", what, detail.empty() ? "" : ": ",
               detail.c_str());
  std::fflush(stderr);
  std::abort();
}

// A run stopped by a finding (abort, a timeout) leaves its files: those of processes that are
// gone are removed when the next run starts.
void RemoveLeftovers() {
  const std::string prefix = "xyp_fuzz_odbfile_";
  DIR* folder = opendir("/dev/shm");
  if (!folder) return;
  while (const dirent* entry = readdir(folder)) {
    const std::string name = entry->d_name;
    if (name.compare(0, prefix.size(), prefix) != 0) continue;
    const long pid = std::strtol(name.c_str() + prefix.size(), nullptr, 10);
    if (pid > 0 && kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
      unlink(("/dev/shm/" + name).c_str());
  }
  closedir(folder);
}

void RemoveFiles() {
  if (!g_keepFile && !g_path.empty()) unlink(g_path.c_str());
  if (!g_sidePath.empty()) unlink(g_sidePath.c_str());
  if (!g_fifoPath.empty()) unlink(g_fifoPath.c_str());
}

// An HDF5 identifier of the harness, released when it goes (never a predefined type).
class H {
 public:
  H() = default;
  explicit H(hid_t id) : id_(id) {}
  ~H() { Reset(); }
  H(H&& o) noexcept : id_(o.id_) { o.id_ = -1; }
  H& operator=(H&& o) noexcept {
    if (this != &o) {
      Reset();
      id_ = o.id_;
      o.id_ = -1;
    }
    return *this;
  }
  H(const H&) = delete;
  H& operator=(const H&) = delete;
  hid_t get() const { return id_; }
  bool ok() const { return id_ >= 0; }
  hid_t Release() {
    const hid_t id = id_;
    id_ = -1;
    return id;
  }
  void Reset() {
    if (id_ >= 0) H5Idec_ref(id_);
    id_ = -1;
  }

 private:
  hid_t id_ = -1;
};

class Bytes {
 public:
  Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool More() const { return at_ < size_; }
  uint8_t Next() { return at_ < size_ ? data_[at_++] : 0; }
  std::string Take(size_t n) {
    n = std::min(n, size_ - at_);
    std::string s(reinterpret_cast<const char*>(data_ + at_), n);
    at_ += n;
    return s;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

// ---------------------------------------------------------------------------------------------
// Value tables

constexpr int64_t kInts[32] = {0,
                               1,
                               2,
                               3,
                               4,
                               5,
                               6,
                               7,
                               8,
                               9,
                               10,
                               11,
                               -1,
                               -2,
                               63,
                               64,
                               65,
                               100,
                               INT32_MAX,
                               INT32_MIN,
                               INT32_MAX - 1,
                               int64_t{1} << 20,
                               INT64_MAX,
                               INT64_MIN,
                               int64_t{1} << 31,
                               int64_t{1} << 32,
                               -(int64_t{1} << 31) - 1,
                               int64_t{1} << 40,
                               1000000,
                               12,
                               13,
                               -1000};

const double kDoubles[16] = {0.0,
                             0.5,
                             -1.0,
                             std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(),
                             1e308,
                             -0.0,
                             5e-324,
                             1e-300,
                             3.4e38,
                             1e39,
                             2.0,
                             1e20,
                             -1e20,
                             1.0};

// Texts: names the valid models use (repeats), empty and blank ones, bytes that are not UTF-8,
// embedded NULs (fixed-length strings keep them), a long one. Entry 31 comes from the input.
const char* const kStringTable[31] = {"",
                                      " ",
                                      "Step-1",
                                      "Step-2",
                                      "PART-1",
                                      "PART-2",
                                      "NSET",
                                      "QUAD",
                                      "HEX",
                                      "LINE",
                                      "quad",
                                      "xyp results",
                                      "XYP RESULTS",
                                      "\xff\xfe\xfd",
                                      "\xc3",
                                      "\xc0\x80",
                                      "\xed\xa0\x80",
                                      "a\tb\nc",
                                      nullptr,  // long, made at start
                                      "U2",
                                      "/steps/0/x/0",
                                      "1, bottom",
                                      "TET",
                                      "WEDGE",
                                      "TRI",
                                      "S4R",
                                      "ESET",
                                      "xyp results ",
                                      "1",
                                      "Step-1\xff",
                                      "\x01"};
std::string g_longText;

std::string String(uint8_t v, Bytes& in) {
  const unsigned i = v & 31;
  if (i == 31) return in.Take(in.Next() % 48);
  if (i == 18) return g_longText;
  return kStringTable[i];
}

// Where x paths and soft links may point: the valid targets, missing ones, groups, 2-D and
// integer datasets, malformed paths.
const char* const kPathTable[32] = {"",
                                    "/",
                                    "//",
                                    "/steps/0/x/0",
                                    "/steps/0/x/1",
                                    "/steps/0/x/99",
                                    "/steps/0/x",
                                    "/steps/0",
                                    "/model/instances/0/nodeCoordinates",
                                    "/model/instances/0/nodeLabels",
                                    "/steps/0/historyValues/0",
                                    "/steps/1/x/0",
                                    "steps/0/x/0",
                                    "/steps/0/x/0/",
                                    "/steps/0/./x/0",
                                    "/steps/0/../0/x/0",
                                    "/steps/0/x//0",
                                    "/steps/0/x/\xff",
                                    "/steps/0/frames/0/fields/0/values",
                                    "/steps/0/frames/0/fields/0/labels",
                                    nullptr,  // long, made at start
                                    "/steps/0/historyValues/3",
                                    "/steps/0/history",
                                    "/model/instances/0/elementClasses/0/sectionPoints",
                                    "/nothing",
                                    "/steps/1/x/1",
                                    "/steps/0/historyValues/4",
                                    "/model",
                                    "/steps/0/x/0 ",
                                    "/steps/1/historyValues/0",
                                    ".",
                                    "/steps/0/frames/1/fields/0/values"};
std::string g_longPath;

std::string Path(uint8_t v) {
  const unsigned i = v & 31;
  return i == 20 ? g_longPath : kPathTable[i];
}

// Member names: repeats, gaps, names that are not indices.
const char* const kNames[16] = {"0",  "1",  "2",          "3",   "7",  "00",  "-1",  " 1",
                                "x",  "1e0", "4294967296", "+1",  "01", "999", "1 ", "\xff"};

const char* const kAttributeNames[32] = {
    "format", "version",     "name",        "kind",        "instance", "internal", "domain",
    "totalTime", "timeStamp", "value",      "label",       "description", "position", "type",
    "shape",  "Name",        "format ",     "versions",    "name",     "kind",     "instance",
    "domain", "value",       "label",       "position",    "type",     "shape",    "totalTime",
    "timeStamp", "internal", "description", "extra"};

constexpr uint64_t kCopies[8] = {1, 2, 3, 5, 8, 16, 40, 100};
constexpr hsize_t kHuge[8] = {hsize_t{1} << 16, hsize_t{1} << 20, hsize_t{1} << 24,
                              hsize_t{1} << 28, hsize_t{1} << 32, hsize_t{1} << 40,
                              hsize_t{1} << 50, hsize_t{1} << 61};

// ---------------------------------------------------------------------------------------------
// The valid models

struct Base {
  std::string bytes;  // the file
  std::vector<std::string> objects, groups, datasets, lists, tables;
  std::vector<std::pair<std::string, std::string>> attributes;  // (object, name)
};
Base g_bases[4];

std::vector<double> Coordinates(size_t nodes) {
  std::vector<double> c;
  for (size_t i = 0; i < nodes; ++i) {
    c.push_back(static_cast<double>(i % 3));
    c.push_back(static_cast<double>(i / 3));
    c.push_back(0.0);
  }
  return c;
}

using HP = odb_Writer::HistoryPoint;

// Two instances with line, quad and tet elements, section points, three kinds of sets; two
// steps with frames of nodal and integration-point fields, and history outputs at every
// position in float and double, real and complex, one and several components, sharing x values.
void WriteRich(odb_Writer& w) {
  w.AddInstance("PART-1", {1, 2, 3, 4, 5, 6, 7, 8}, Coordinates(8));
  w.AddElements("PART-1", "S4R", {1, 2}, {1, 2, 5, 4, 2, 3, 6, 5}, 4, -1,
                {"1, bottom", "2, top"});
  w.AddElements("PART-1", "B31", {3}, {7, 8}, 2, -1, {});
  w.AddInstance("PART-2", {1, 2, 3, 4}, Coordinates(4));
  w.AddElements("PART-2", "C3D4", {1}, {1, 2, 3, 4}, 4, res_TET, {});
  w.AddSet("NSET", 0, "PART-1", {1, 2}, false);
  w.AddSet("ESET", 1, "PART-1", {1, 3}, false);
  w.AddSet("SURF", 2, "PART-2", {1}, true);
  const int s0 = w.AddStep("Step-1", 0, 0.0);
  const std::vector<double> x3{0, 0.5, 1};
  w.AddHistory(s0, HP{"U2", "Spatial displacement", res_NODAL, "PART-1", 2}, x3, {0, 1, 2}, false,
               false);
  w.AddHistory(s0, HP{"S11", "Stress", res_INTEGRATION_POINT, "PART-1", 0, 1, 1, 1}, x3,
               {3, 4, 5}, false, false);
  w.AddHistory(s0, HP{"PRESS", "", res_ELEMENT_FACE, "PART-1", 0, 2, 0, -1, 3}, x3, {1, 1, 1},
               false, true);
  w.AddHistory(s0, HP{"NFORC", "Nodal force", res_ELEMENT_NODAL, "PART-1", 5, 1}, x3,
               {1, 0, 2, 0, 3, 0}, true, false);
  w.AddHistory(s0, HP{"EVOL", "", res_CENTROID, "PART-2", 0, 1}, x3,
               {1, 2, 3, 4, 5, 6, 7, 8, 9}, false, false, 3);
  w.AddHistory(s0, HP{"ELSE", "", res_WHOLE_ELEMENT, "PART-1", 0, 3}, x3, {0, 0, 0}, false,
               false);
  w.AddHistory(s0, HP{"ALLIE", "", res_WHOLE_MODEL}, x3, {1, 2, 3}, false, false);
  w.AddHistory(s0, HP{"RF", "", res_WHOLE_REGION, "", 0, 0, 0, -1, 0, "NSET"}, x3, {1, 2, 3},
               false, false);
  w.AddHistory(s0, HP{"ALLKE", "", res_WHOLE_PART_INSTANCE, "PART-2"}, x3, {1, 2, 3}, false,
               false);
  w.AddHistory(s0, HP{"GP", "", res_GENERAL_PARTICLE}, {0, 1}, {5, 6}, false, false);
  w.AddHistory(s0, HP{"P", "", res_ELEMENT_FACE, "PART-1", 0, 3, 0, -1, 2}, x3, {1, 2, 3}, false,
               false);
  w.AddHistory(s0, HP{"P", "", res_ELEMENT_FACE, "PART-2", 0, 1, 0, -1, 4}, x3, {1, 2, 3}, false,
               false);
  const int f0 = w.AddFrame(s0, 0.0);
  w.AddField(s0, f0, "U", "Displacement", res_NODAL, "PART-1", {1, 2, 3},
             {0, 0, 0, 1, 1, 1, 2, 2, 2}, 3);
  w.AddField(s0, f0, "S", "Stress", res_INTEGRATION_POINT, "PART-1", {1, 2},
             {1, 2, 3, 4, 5, 6, 7, 8}, 4);
  const int f1 = w.AddFrame(s0, 0.5);
  w.AddField(s0, f1, "U", "", res_NODAL, "PART-2", {1, 2, 3, 4}, {1, 2, 3, 4}, 1);
  const int s1 = w.AddStep("Step-2", 1, 1.0);
  w.AddHistory(s1, HP{"U1", "", res_NODAL, "PART-2", 4}, {1, 2}, {1, 0, 2, 0, 3, 0, 4, 0}, true,
               true, 2);
  const int g0 = w.AddFrame(s1, 1.0);
  w.AddField(s1, g0, "T", "", res_CENTROID, "PART-2", {1}, {20}, 1);
}

void WriteMinimal(odb_Writer& w) {
  w.AddInstance("PART-1", {1, 2}, Coordinates(2));
  w.AddElements("PART-1", "T2D2", {1}, {1, 2}, 2, -1, {});
  const int s = w.AddStep("Step-1", 0, 0.0);
  w.AddHistory(s, HP{"U1", "", res_NODAL, "", 1}, {0, 1}, {0, 1}, false, false);
  const int f = w.AddFrame(s, 1.0);
  w.AddField(s, f, "U", "", res_NODAL, "", {1, 2}, {0, 1}, 1);
}

// An instance without nodes, one without elements, a step without output.
void WriteBare(odb_Writer& w) {
  w.AddInstance("PART-1", {}, {});
  w.AddInstance("PART-2", {1}, Coordinates(1));
  w.AddStep("Step-1", 2, 0.0);
}

void WriteMany(odb_Writer& w) {
  w.AddInstance("PART-1", {1, 2, 3, 4}, Coordinates(4));
  w.AddElements("PART-1", "S4", {1}, {1, 2, 3, 4}, 4, -1, {"1"});
  w.AddSet("NSET", 0, "PART-1", {1}, false);
  for (int k = 0; k < 6; ++k) {
    const int s = w.AddStep("Step-" + std::to_string(k + 1), k % 4, k);
    w.AddHistory(s, HP{"U1", "", res_NODAL, "", 3}, {0, 1}, {0, 1}, false, k % 2 == 1);
    w.AddHistory(s, HP{"S11", "", res_INTEGRATION_POINT, "", 0, 1, 1, 0}, {0, 1, 2}, {0, 1, 2},
                 false, false);
    w.AddHistory(s, HP{"RF", "", res_WHOLE_REGION, "", 0, 0, 0, -1, 0, "NSET"}, {0, 1}, {2, 3},
                 false, false);
    for (int f = 0; f < 3; ++f) {
      const int frame = w.AddFrame(s, f);
      w.AddField(s, frame, "U", "", res_NODAL, "", {1, 4}, {0, 1}, 1);
      w.AddField(s, frame, "E", "", res_CENTROID, "", {1}, {2}, 1);
    }
  }
}

std::string ReadWhole(const std::string& path) {
  std::string bytes;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) Fail("cannot read", path);
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
  std::fclose(f);
  return bytes;
}

void WriteWhole(const std::string& path, const std::string& bytes) {
  unlink(path.c_str());
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) Fail("cannot write", path);
  if (std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) Fail("short write", path);
  if (std::fclose(f) != 0) Fail("cannot close", path);
}

struct Visit {
  Base* base;
  hid_t file;
};

herr_t AttributeVisitor(hid_t, const char* name, const H5A_info_t*, void* data) {
  auto* p = static_cast<std::pair<Base*, std::string>*>(data);
  p->first->attributes.emplace_back(p->second, name);
  return 0;
}

void ListAttributes(Base& base, hid_t file, const std::string& path) {
  H object(H5Oopen(file, path.c_str(), H5P_DEFAULT));
  if (!object.ok()) return;
  std::pair<Base*, std::string> data(&base, path);
  hsize_t index = 0;
  H5Aiterate2(object.get(), H5_INDEX_NAME, H5_ITER_INC, &index, AttributeVisitor, &data);
}

herr_t LinkVisitor(hid_t, const char* name, const H5L_info_t*, void* data) {
  Visit* v = static_cast<Visit*>(data);
  const std::string path = std::string("/") + name;
  H5O_info_t info;
  if (H5Oget_info_by_name(v->file, path.c_str(), &info, H5P_DEFAULT) < 0) return 0;
  v->base->objects.push_back(path);
  const std::string last = path.substr(path.rfind('/') + 1);
  if (info.type == H5O_TYPE_GROUP) {
    v->base->groups.push_back(path);
    if (last == "instances" || last == "elementClasses" || last == "sets" || last == "steps" ||
        last == "frames" || last == "fields" || last == "historyValues" || last == "x")
      v->base->lists.push_back(path);
  } else if (info.type == H5O_TYPE_DATASET) {
    v->base->datasets.push_back(path);
    if (last == "history") v->base->tables.push_back(path);
  }
  ListAttributes(*v->base, v->file, path);
  return 0;
}

void MakeBase(int which, void (*write)(odb_Writer&)) {
  const std::string path = g_path + ".base";
  unlink(path.c_str());
  {
    odb_Writer w(path.c_str());
    write(w);
    w.Close();
  }
  Base& base = g_bases[which];
  base.bytes = ReadWhole(path);
  H file(H5Fopen(path.c_str(), H5F_ACC_RDONLY, H5P_DEFAULT));
  if (!file.ok()) Fail("cannot reopen a valid model");
  ListAttributes(base, file.get(), "/");
  base.groups.push_back("/");
  Visit v{&base, file.get()};
  H5Lvisit(file.get(), H5_INDEX_NAME, H5_ITER_INC, LinkVisitor, &v);
  file.Reset();
  unlink(path.c_str());
  for (auto* list : {&base.objects, &base.groups, &base.datasets, &base.lists, &base.tables})
    std::sort(list->begin(), list->end());
  std::sort(base.attributes.begin(), base.attributes.end());
}

// Prints what the damages pick from, by index (XYP_FUZZ_LIST=1), to write seeds by hand.
void ListBases() {
  const auto print = [](const char* what, const std::vector<std::string>& list) {
    for (size_t i = 0; i < list.size(); ++i) std::fprintf(stderr, "  %s %zu: %s\n", what, i, list[i].c_str());
  };
  for (int b = 0; b < 4; ++b) {
    const Base& base = g_bases[b];
    std::fprintf(stderr, "model %d (%zu bytes)\n", b, base.bytes.size());
    print("object", base.objects);
    print("group", base.groups);
    print("dataset", base.datasets);
    print("list", base.lists);
    print("table", base.tables);
    for (size_t i = 0; i < base.attributes.size(); ++i)
      std::fprintf(stderr, "  attribute %zu: %s @%s\n", i, base.attributes[i].first.c_str(),
                   base.attributes[i].second.c_str());
  }
}

// A file beside the damaged one, for external links: /x 1-D floats, /g a group, /m 2-D floats,
// /i integers.
void MakeSideFile() {
  H file(H5Fcreate(g_sidePath.c_str(), H5F_ACC_TRUNC, H5P_DEFAULT, H5P_DEFAULT));
  if (!file.ok()) Fail("cannot create the side file", g_sidePath);
  const double values[6] = {0, 1, 2, 3, 4, 5};
  const int ints[3] = {1, 2, 3};
  const auto make = [&](const char* name, hid_t type, hid_t memory, std::vector<hsize_t> dims,
                        const void* data) {
    H space(H5Screate_simple(static_cast<int>(dims.size()), dims.data(), nullptr));
    H d(H5Dcreate2(file.get(), name, type, space.get(), H5P_DEFAULT, H5P_DEFAULT, H5P_DEFAULT));
    H5Dwrite(d.get(), memory, H5S_ALL, H5S_ALL, H5P_DEFAULT, data);
  };
  make("x", H5T_IEEE_F64LE, H5T_NATIVE_DOUBLE, {3}, values);
  make("m", H5T_IEEE_F64LE, H5T_NATIVE_DOUBLE, {3, 2}, values);
  make("i", H5T_STD_I32LE, H5T_NATIVE_INT, {3}, ints);
  H g(H5Gcreate2(file.get(), "g", H5P_DEFAULT, H5P_DEFAULT, H5P_DEFAULT));
}

// ---------------------------------------------------------------------------------------------
// Damages

struct Damager {
  hid_t file;
  const Base& base;
  Bytes& in;
  int created = 0;
  int applied = 0;  // damages whose HDF5 calls succeeded (for the verbose line)
  // HDF5 1.10.8 fails every H5Ocopy, and then the file's close (and crashes at exit), once a group
  // holding an external link made in the same session has been deleted: after an external link,
  // members are copied as hard links only.
  bool externalLinkMade = false;

  const std::string& Pick(const std::vector<std::string>& list) {
    static const std::string none;
    const uint8_t b = in.Next();
    return list.empty() ? none : list[b % list.size()];
  }

  // Whether every link on the path is a hard link (the last one may be of any kind when
  // `anyLast`). The harness follows hard links only: a soft or external link made by an earlier
  // damage may lead into another file (a FIFO would block the harness itself).
  bool Reachable(const std::string& path, bool anyLast) const {
    if (path.empty() || path[0] != '/') return false;
    if (path == "/") return true;
    size_t from = 1;
    while (from <= path.size()) {
      size_t slash = path.find('/', from);
      if (slash == std::string::npos) slash = path.size();
      if (slash == from) return false;
      const std::string prefix = path.substr(0, slash);
      if (H5Lexists(file, prefix.c_str(), H5P_DEFAULT) <= 0) return false;
      H5L_info_t info;
      if (H5Lget_info(file, prefix.c_str(), &info, H5P_DEFAULT) < 0) return false;
      if (info.type != H5L_TYPE_HARD && !(anyLast && slash == path.size())) return false;
      from = slash + 1;
    }
    return true;
  }
  bool Exists(const std::string& path) const { return Reachable(path, false); }
  bool Remove(const std::string& path) {
    return path != "/" && Reachable(path, true) && H5Ldelete(file, path.c_str(), H5P_DEFAULT) >= 0;
  }
  // A dataset whose values are in this file (none of an earlier damage's external storage or
  // virtual datasets, which the harness must not read).
  H OpenData(const std::string& path) const {
    if (!Exists(path)) return H();
    H5O_info_t info;
    if (H5Oget_info_by_name(file, path.c_str(), &info, H5P_DEFAULT) < 0 ||
        info.type != H5O_TYPE_DATASET)
      return H();
    H d(H5Dopen2(file, path.c_str(), H5P_DEFAULT));
    if (!d.ok()) return H();
    H plist(H5Dget_create_plist(d.get()));
    if (!plist.ok() || H5Pget_external_count(plist.get()) != 0 ||
        H5Pget_layout(plist.get()) == H5D_VIRTUAL)
      return H();
    return d;
  }
  static std::string Parent(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == 0 ? "/" : path.substr(0, slash);
  }
  static std::string Join(const std::string& group, const std::string& name) {
    return group == "/" ? "/" + name : group + "/" + name;
  }
  // The number of links in a group; 0 when it is no group.
  hsize_t Links(const std::string& group) const {
    if (!Exists(group)) return 0;
    H5O_info_t object;
    if (H5Oget_info_by_name(file, group.c_str(), &object, H5P_DEFAULT) < 0 ||
        object.type != H5O_TYPE_GROUP)
      return 0;
    H g(H5Gopen2(file, group.c_str(), H5P_DEFAULT));
    H5G_info_t info;
    if (!g.ok() || H5Gget_info(g.get(), &info) < 0) return 0;
    return info.nlinks;
  }
  bool Count(bool ok) {
    if (ok) ++applied;
    return ok;
  }

  // ---- datasets

  // A file type by code: integers and floats of every size, order and precision, and types of
  // other classes. `native` gets the memory type to write numbers with (-1: write raw zeros in
  // the file type's own layout).
  H Type(uint8_t code, hid_t& numberMemory) {
    numberMemory = -1;
    switch (code % 24) {
      case 0: numberMemory = H5T_NATIVE_INT64; return H(H5Tcopy(H5T_STD_I32LE));
      case 1: numberMemory = H5T_NATIVE_INT64; return H(H5Tcopy(H5T_STD_I8LE));
      case 2: numberMemory = H5T_NATIVE_INT64; return H(H5Tcopy(H5T_STD_I64LE));
      case 3: numberMemory = H5T_NATIVE_INT64; return H(H5Tcopy(H5T_STD_U64LE));
      case 4: numberMemory = H5T_NATIVE_INT64; return H(H5Tcopy(H5T_STD_I32BE));
      case 5: numberMemory = H5T_NATIVE_DOUBLE; return H(H5Tcopy(H5T_IEEE_F32LE));
      case 6: numberMemory = H5T_NATIVE_DOUBLE; return H(H5Tcopy(H5T_IEEE_F64LE));
      case 7: numberMemory = H5T_NATIVE_DOUBLE; return H(H5Tcopy(H5T_IEEE_F64BE));
      case 8: {  // IEEE half precision
        H t(H5Tcopy(H5T_IEEE_F32LE));
        H5Tset_fields(t.get(), 15, 10, 5, 0, 10);
        H5Tset_size(t.get(), 2);
        H5Tset_ebias(t.get(), 15);
        numberMemory = H5T_NATIVE_DOUBLE;
        return t;
      }
      case 9: numberMemory = H5T_NATIVE_DOUBLE; return H(H5Tcopy(H5T_NATIVE_LDOUBLE));
      case 10: {
        H t(H5Tcopy(H5T_C_S1));
        H5Tset_size(t.get(), 8);
        return t;
      }
      case 11: {
        H t(H5Tcopy(H5T_C_S1));
        H5Tset_size(t.get(), H5T_VARIABLE);
        H5Tset_cset(t.get(), H5T_CSET_UTF8);
        return t;
      }
      case 12: {
        H t(H5Tcreate(H5T_COMPOUND, 12));
        H5Tinsert(t.get(), "a", 0, H5T_STD_I32LE);
        H5Tinsert(t.get(), "b", 4, H5T_IEEE_F64LE);
        return t;
      }
      case 13: {
        H t(H5Tenum_create(H5T_NATIVE_INT));
        int a = 0, b = 1;
        H5Tenum_insert(t.get(), "A", &a);
        H5Tenum_insert(t.get(), "B", &b);
        return t;
      }
      case 14: {
        H t(H5Tcreate(H5T_OPAQUE, 4));
        H5Tset_tag(t.get(), "xyp");
        return t;
      }
      case 15: {
        const hsize_t three = 3;
        return H(H5Tarray_create2(H5T_IEEE_F32LE, 1, &three));
      }
      case 16: return H(H5Tcopy(H5T_STD_B32LE));
      case 17: return H(H5Tvlen_create(H5T_STD_I32LE));
      case 18: return H(H5Tcopy(H5T_STD_REF_OBJ));
      case 19: numberMemory = H5T_NATIVE_INT64; return H(H5Tcopy(H5T_STD_U8LE));
      case 20: {  // 12 significant bits at offset 2
        H t(H5Tcopy(H5T_STD_I16LE));
        H5Tset_precision(t.get(), 12);
        H5Tset_offset(t.get(), 2);
        numberMemory = H5T_NATIVE_INT64;
        return t;
      }
      case 21: {
        H t(H5Tcopy(H5T_STD_I64LE));
        H5Tset_size(t.get(), 16);
        numberMemory = H5T_NATIVE_INT64;
        return t;
      }
      case 22: {  // a float32 with another exponent bias
        H t(H5Tcopy(H5T_IEEE_F32LE));
        H5Tset_ebias(t.get(), 100);
        numberMemory = H5T_NATIVE_DOUBLE;
        return t;
      }
      default: numberMemory = H5T_NATIVE_INT64; return H(H5Tcopy(H5T_STD_U32LE));
    }
  }

  // Dimensions from the original's by code.
  static bool Dims(uint8_t code, std::vector<hsize_t> dims, std::vector<hsize_t>& out,
                   H5S_class_t& kind) {
    kind = H5S_SIMPLE;
    if (dims.empty()) dims = {3};
    switch (code % 16) {
      case 0: break;
      case 1: dims[0] += 1; break;
      case 2: dims[0] = dims[0] > 0 ? dims[0] - 1 : 0; break;
      case 3: dims[0] = 0; break;
      case 4: std::reverse(dims.begin(), dims.end()); break;
      case 5: if (dims.size() > 1) dims.pop_back(); else dims.push_back(1); break;
      case 6: dims.push_back(2); break;
      case 7: kind = H5S_SCALAR; dims.clear(); break;
      case 8: kind = H5S_NULL; dims.clear(); break;
      case 9: dims = {1}; break;
      case 10: dims = {dims[0], 3}; break;
      case 11: dims = {dims[0], 65}; break;
      case 12: dims = {dims[0], 0}; break;
      case 13: dims = {1, 1, 1, 1}; break;
      case 14: dims = {dims[0], 3, 2}; break;
      default: dims[0] = 7; break;
    }
    out = dims;
    return true;
  }

  struct Original {
    std::vector<hsize_t> dims;
    std::vector<double> values;  // numbers, when small
  };
  Original ReadOriginal(const std::string& path) {
    Original o;
    H d = OpenData(path);
    if (!d.ok()) return o;
    H space(H5Dget_space(d.get()));
    const int rank = H5Sget_simple_extent_ndims(space.get());
    if (rank > 0 && rank <= 8) {
      o.dims.resize(static_cast<size_t>(rank));
      H5Sget_simple_extent_dims(space.get(), o.dims.data(), nullptr);
    }
    H type(H5Dget_type(d.get()));
    const H5T_class_t c = H5Tget_class(type.get());
    const hssize_t n = H5Sget_simple_extent_npoints(space.get());
    if ((c == H5T_INTEGER || c == H5T_FLOAT) && n > 0 && n <= 4096) {
      o.values.resize(static_cast<size_t>(n));
      if (H5Dread(d.get(), H5T_NATIVE_DOUBLE, H5S_ALL, H5S_ALL, H5P_DEFAULT, o.values.data()) < 0)
        o.values.clear();
    }
    return o;
  }

  bool ReplaceDataset() {
    const std::string& path = Pick(base.objects);
    const uint8_t typeCode = in.Next(), shapeCode = in.Next(), storage = in.Next();
    if (path.empty() || !Exists(Parent(path))) return false;
    const Original original = ReadOriginal(path);
    std::vector<hsize_t> dims;
    H5S_class_t kind;
    Dims(shapeCode, original.dims, dims, kind);
    hid_t numberMemory;
    H type = Type(typeCode, numberMemory);
    if (!type.ok()) return false;
    H space(kind == H5S_SIMPLE ? H5Screate_simple(static_cast<int>(dims.size()), dims.data(), nullptr)
                               : H5Screate(kind));
    if (!space.ok()) return false;
    hsize_t total = kind == H5S_SIMPLE ? 1 : (kind == H5S_SCALAR ? 1 : 0);
    for (hsize_t d : dims) total *= d;
    H dcpl(H5Pcreate(H5P_DATASET_CREATE));
    const int layout = kind == H5S_SIMPLE ? storage & 3 : 0;
    const size_t typeSize = H5Tget_size(type.get());
    if (layout == 2 && total * typeSize < 16000) {
      H5Pset_layout(dcpl.get(), H5D_COMPACT);
    } else if (layout == 1 || layout == 3) {
      std::vector<hsize_t> chunk(dims.size());
      for (size_t i = 0; i < dims.size(); ++i) chunk[i] = std::clamp<hsize_t>(dims[i], 1, 4);
      H5Pset_chunk(dcpl.get(), static_cast<int>(chunk.size()), chunk.data());
      if (layout == 3) H5Pset_deflate(dcpl.get(), 6);
    }
    if ((storage & 8) && numberMemory >= 0) {
      const int64_t fill = kInts[(storage >> 4) & 31];
      H5Pset_fill_value(dcpl.get(), H5T_NATIVE_INT64, &fill);
    }
    Remove(path);
    H d(H5Dcreate2(file, path.c_str(), type.get(), space.get(), H5P_DEFAULT, dcpl.get(),
                   H5P_DEFAULT));
    if (!d.ok()) return Count(false);
    if (!(storage & 4) || total == 0 || total > 4096) return Count(true);
    // Contents: numbers converted from int64 or double, texts from the table, else zero bytes;
    // or, compressed, a first chunk of bytes that do not inflate (or inflate to another size).
    const int pattern = storage >> 5;
    if (layout == 3 && pattern == 7) {
      const std::string raw = in.Take(in.Next() % 32 + 1);
      const std::vector<hsize_t> origin(dims.size(), 0);
      return Count(H5Dwrite_chunk(d.get(), H5P_DEFAULT, 0, origin.data(), raw.size(), raw.data()) >= 0);
    }
    if (numberMemory == H5T_NATIVE_INT64) {
      std::vector<int64_t> v(total);
      for (hsize_t i = 0; i < total; ++i) {
        switch (pattern) {
          case 0: v[i] = static_cast<int64_t>(i) + 1; break;
          case 1: v[i] = 0; break;
          case 2: v[i] = kInts[storage & 31]; break;
          case 3: v[i] = kInts[in.Next() & 31]; break;
          default:
            v[i] = i < original.values.size() && std::isfinite(original.values[i])
                       ? static_cast<int64_t>(std::clamp(original.values[i], -1e18, 1e18))
                       : static_cast<int64_t>(i) + 1;
        }
      }
      H5Dwrite(d.get(), H5T_NATIVE_INT64, H5S_ALL, H5S_ALL, H5P_DEFAULT, v.data());
    } else if (numberMemory == H5T_NATIVE_DOUBLE) {
      std::vector<double> v(total);
      for (hsize_t i = 0; i < total; ++i) {
        switch (pattern) {
          case 0: v[i] = static_cast<double>(i) + 0.5; break;
          case 1: v[i] = 0; break;
          case 2: v[i] = kDoubles[storage & 15]; break;
          case 3: v[i] = kDoubles[in.Next() & 15]; break;
          default: v[i] = i < original.values.size() ? original.values[i] : 1.0;
        }
      }
      H5Dwrite(d.get(), H5T_NATIVE_DOUBLE, H5S_ALL, H5S_ALL, H5P_DEFAULT, v.data());
    } else if (H5Tis_variable_str(type.get()) > 0) {
      std::vector<std::string> texts(total);
      std::vector<const char*> pointers(total);
      for (hsize_t i = 0; i < total; ++i) {
        texts[i] = String(pattern == 3 ? in.Next() : static_cast<uint8_t>(storage + i), in);
        pointers[i] = pattern == 1 ? nullptr : texts[i].c_str();
      }
      H5Dwrite(d.get(), type.get(), H5S_ALL, H5S_ALL, H5P_DEFAULT, pointers.data());
    } else if (H5Tget_class(type.get()) != H5T_REFERENCE) {
      std::vector<unsigned char> zeros(total * typeSize, 0);
      H5Dwrite(d.get(), type.get(), H5S_ALL, H5S_ALL, H5P_DEFAULT, zeros.data());
    }
    return Count(true);
  }

  // Changes elements of a dataset in place: its type and shape stay.
  bool RewriteValues(int v) {
    const std::string& path = Pick(base.datasets);
    const int changes = v % 8 + 1;
    std::vector<std::pair<uint8_t, uint8_t>> edits;
    for (int i = 0; i < changes; ++i) edits.emplace_back(in.Next(), in.Next());
    H d = OpenData(path);
    if (!d.ok()) return false;
    H space(H5Dget_space(d.get()));
    const hssize_t n = H5Sget_simple_extent_npoints(space.get());
    if (n <= 0 || n > 65536) return false;
    H type(H5Dget_type(d.get()));
    const H5T_class_t c = H5Tget_class(type.get());
    const size_t count = static_cast<size_t>(n);
    if (c == H5T_INTEGER) {
      std::vector<int64_t> values(count);
      if (H5Dread(d.get(), H5T_NATIVE_INT64, H5S_ALL, H5S_ALL, H5P_DEFAULT, values.data()) < 0)
        return false;
      for (auto [at, value] : edits)
        values[at % count] = value >= 0xE0 ? values[(value & 31) % count] : kInts[value & 31];
      return Count(H5Dwrite(d.get(), H5T_NATIVE_INT64, H5S_ALL, H5S_ALL, H5P_DEFAULT,
                            values.data()) >= 0);
    }
    if (c == H5T_FLOAT) {
      std::vector<double> values(count);
      if (H5Dread(d.get(), H5T_NATIVE_DOUBLE, H5S_ALL, H5S_ALL, H5P_DEFAULT, values.data()) < 0)
        return false;
      for (auto [at, value] : edits)
        values[at % count] = value >= 0xE0 ? values[(value & 31) % count] : kDoubles[value & 15];
      return Count(H5Dwrite(d.get(), H5T_NATIVE_DOUBLE, H5S_ALL, H5S_ALL, H5P_DEFAULT,
                            values.data()) >= 0);
    }
    if (c == H5T_STRING && H5Tis_variable_str(type.get()) > 0) {
      std::vector<char*> read(count, nullptr);
      if (H5Dread(d.get(), type.get(), H5S_ALL, H5S_ALL, H5P_DEFAULT, read.data()) < 0)
        return false;
      std::vector<std::string> texts(count);
      for (size_t i = 0; i < count; ++i) texts[i] = read[i] ? read[i] : "";
      H5Dvlen_reclaim(type.get(), space.get(), H5P_DEFAULT, read.data());
      for (auto [at, value] : edits)
        texts[at % count] = value >= 0xE0 ? texts[(value & 31) % count] : String(value, in);
      std::vector<const char*> pointers(count);
      for (size_t i = 0; i < count; ++i) pointers[i] = texts[i].c_str();
      return Count(H5Dwrite(d.get(), type.get(), H5S_ALL, H5S_ALL, H5P_DEFAULT,
                            pointers.data()) >= 0);
    }
    return false;
  }

  // A dataset of the original's type and rank, one dimension declared huge, nothing written; or
  // of the original's shape with its values in another file.
  bool Huge(int v) {
    const std::string& path = Pick(base.datasets);
    const uint8_t sizeByte = in.Next();
    const hsize_t size = kHuge[sizeByte % 8];
    H d = OpenData(path);
    if (!d.ok()) return false;
    H type(H5Dget_type(d.get()));
    H space(H5Dget_space(d.get()));
    const int rank = H5Sget_simple_extent_ndims(space.get());
    if (rank < 1 || rank > 8) return false;
    std::vector<hsize_t> dims(static_cast<size_t>(rank));
    H5Sget_simple_extent_dims(space.get(), dims.data(), nullptr);
    d.Reset();
    const int form = v >> 2;  // chunked (first or last dimension), contiguous, external
    H dcpl(H5Pcreate(H5P_DATASET_CREATE));
    std::vector<hsize_t> maxDims(dims.size(), H5S_UNLIMITED);
    if (form <= 1) {
      dims[form == 0 ? 0 : dims.size() - 1] = size;
      std::vector<hsize_t> chunk(dims.size());
      for (size_t i = 0; i < dims.size(); ++i) chunk[i] = std::clamp<hsize_t>(dims[i], 1, 64);
      H5Pset_chunk(dcpl.get(), rank, chunk.data());
      switch (v & 3) {
        case 1: H5Pset_deflate(dcpl.get(), 1); break;
        case 2: H5Pset_shuffle(dcpl.get()); break;
        case 3: H5Pset_fletcher32(dcpl.get()); break;
        default: break;
      }
    } else if (form == 2) {
      dims[0] = size;
    } else {
      // Values in another file: raw (the side file's bytes, a missing file, a FIFO, a device)
      // or mapped from a dataset of it (a virtual dataset: the side file's /x, a missing file,
      // a FIFO, this file's first x values), as the size byte's bit 3 says.
      const std::string other = (v & 3) == 0   ? g_sidePath
                                : (v & 3) == 1 ? g_path + ".missing"
                                : (v & 3) == 2 ? g_fifoPath
                                : (sizeByte & 8) ? g_path
                                               : std::string("/dev/zero");
      if (!(sizeByte & 8)) {
        if (H5Pset_external(dcpl.get(), other.c_str(), 0, H5F_UNLIMITED) < 0) return false;
      } else {
        // 1-D: an unlimited mapping, whose extent HDF5 finds by opening the source when the
        // dataset's shape is asked for.
        const bool unlimited = rank == 1;
        const hsize_t start = 0, stride = std::max<hsize_t>(dims[0], 1), count = H5S_UNLIMITED,
                      block = std::max<hsize_t>(dims[0], 1), maxDim = H5S_UNLIMITED;
        H source(H5Screate_simple(rank, dims.data(), unlimited ? &maxDim : nullptr));
        H mapped(H5Screate_simple(rank, dims.data(), unlimited ? &maxDim : nullptr));
        if (unlimited) {
          H5Sselect_hyperslab(source.get(), H5S_SELECT_SET, &start, &stride, &count, &block);
          H5Sselect_hyperslab(mapped.get(), H5S_SELECT_SET, &start, &stride, &count, &block);
          dims[0] = std::max<hsize_t>(dims[0], 1);
        }
        const char* dataset = (v & 3) == 3 ? "/steps/0/x/0" : "/x";
        if (H5Pset_virtual(dcpl.get(), mapped.get(), other.c_str(), dataset, source.get()) < 0)
          return false;
      }
    }
    const bool unlimitedVirtual = form == 3 && (sizeByte & 8) && rank == 1;
    H huge(H5Screate_simple(rank, dims.data(),
                            form <= 1 || unlimitedVirtual ? maxDims.data() : nullptr));
    if (!huge.ok()) return false;
    Remove(path);
    H created(H5Dcreate2(file, path.c_str(), type.get(), huge.get(), H5P_DEFAULT, dcpl.get(),
                         H5P_DEFAULT));
    return Count(created.ok());
  }

  bool Texts(int v) {
    const std::string& path = Pick(base.objects);
    static constexpr hsize_t kCounts[8] = {0, 1, 2, 3, 5, 1, 2, 3};
    const hsize_t n = kCounts[in.Next() % 8];
    std::vector<std::string> texts(n);
    for (auto& t : texts) t = String(in.Next(), in);
    if (path.empty() || !Exists(Parent(path))) return false;
    H type(H5Tcopy(H5T_C_S1));
    const int form = v % 4;  // UTF-8, ASCII, fixed length, 2-D
    if (form == 2) {
      H5Tset_size(type.get(), 8);
    } else {
      H5Tset_size(type.get(), H5T_VARIABLE);
      H5Tset_cset(type.get(), form == 1 ? H5T_CSET_ASCII : H5T_CSET_UTF8);
    }
    std::vector<hsize_t> dims{n};
    if (form == 3) dims.push_back(1);
    H space(H5Screate_simple(static_cast<int>(dims.size()), dims.data(), nullptr));
    Remove(path);
    H d(H5Dcreate2(file, path.c_str(), type.get(), space.get(), H5P_DEFAULT, H5P_DEFAULT,
                   H5P_DEFAULT));
    if (!d.ok()) return Count(false);
    if (n > 0) {
      if (form == 2) {
        std::vector<char> fixed(n * 8, '\0');
        for (hsize_t i = 0; i < n; ++i)
          std::memcpy(&fixed[i * 8], texts[i].data(), std::min<size_t>(8, texts[i].size()));
        H5Dwrite(d.get(), type.get(), H5S_ALL, H5S_ALL, H5P_DEFAULT, fixed.data());
      } else {
        std::vector<const char*> pointers(n);
        for (hsize_t i = 0; i < n; ++i)
          pointers[i] = (v & 4) && i == 0 ? nullptr : texts[i].c_str();
        H5Dwrite(d.get(), type.get(), H5S_ALL, H5S_ALL, H5P_DEFAULT, pointers.data());
      }
    }
    return Count(true);
  }

  // ---- attributes

  bool SetAttribute(int kind) {
    std::string object, name;
    const uint8_t which = in.Next();
    if (which < 0x80 && !base.attributes.empty()) {
      const auto& a = base.attributes[which % base.attributes.size()];
      object = a.first;
      name = a.second;
    } else {
      object = Pick(base.groups);
      name = kAttributeNames[in.Next() & 31];
    }
    const uint8_t value = in.Next();
    const std::string text = kind >= 6 && kind <= 9 ? String(value, in) : std::string();
    if (object.empty() || !Exists(object)) return false;
    H o(H5Oopen(file, object.c_str(), H5P_DEFAULT));
    if (!o.ok()) return false;
    if (H5Aexists(o.get(), name.c_str()) > 0) H5Adelete(o.get(), name.c_str());
    const auto write = [&](hid_t fileType, hid_t memoryType, H space, const void* data) {
      H a(H5Acreate2(o.get(), name.c_str(), fileType, space.get(), H5P_DEFAULT, H5P_DEFAULT));
      if (!a.ok()) return false;
      return data == nullptr || H5Awrite(a.get(), memoryType, data) >= 0;
    };
    const auto scalar = [] { return H(H5Screate(H5S_SCALAR)); };
    const int64_t number = kInts[value & 31];
    const double real = kDoubles[value & 15];
    switch (kind) {
      case 0: return Count(write(H5T_STD_I32LE, H5T_NATIVE_INT64, scalar(), &number));
      case 1: return Count(write(H5T_STD_I64LE, H5T_NATIVE_INT64, scalar(), &number));
      case 2: return Count(write(H5T_STD_I8LE, H5T_NATIVE_INT64, scalar(), &number));
      case 3: {
        const uint64_t u = static_cast<uint64_t>(number);
        return Count(write(H5T_STD_U64LE, H5T_NATIVE_UINT64, scalar(), &u));
      }
      case 4: return Count(write(H5T_IEEE_F64LE, H5T_NATIVE_DOUBLE, scalar(), &real));
      case 5: return Count(write(H5T_IEEE_F32LE, H5T_NATIVE_DOUBLE, scalar(), &real));
      case 6:
      case 7: {
        H type(H5Tcopy(H5T_C_S1));
        H5Tset_size(type.get(), H5T_VARIABLE);
        H5Tset_cset(type.get(), kind == 6 ? H5T_CSET_UTF8 : H5T_CSET_ASCII);
        const char* p = text.c_str();
        return Count(write(type.get(), type.get(), scalar(), &p));
      }
      case 8:
      case 9: {
        H type(H5Tcopy(H5T_C_S1));
        H5Tset_size(type.get(), std::max<size_t>(1, text.size()));
        H5Tset_strpad(type.get(), kind == 8 ? H5T_STR_NULLTERM : H5T_STR_SPACEPAD);
        std::string buffer = text;
        buffer.resize(std::max<size_t>(1, text.size()), kind == 8 ? '\0' : ' ');
        return Count(write(type.get(), type.get(), scalar(), buffer.data()));
      }
      case 10: {
        const int64_t two[2] = {number, number};
        const hsize_t dims = 2;
        return Count(write(H5T_STD_I32LE, H5T_NATIVE_INT64, H(H5Screate_simple(1, &dims, nullptr)),
                           two));
      }
      case 11: {
        const hsize_t dims = 1;
        return Count(write(H5T_STD_I32LE, H5T_NATIVE_INT64, H(H5Screate_simple(1, &dims, nullptr)),
                           &number));
      }
      case 12: return Count(write(H5T_STD_I32LE, H5T_NATIVE_INT64, H(H5Screate(H5S_NULL)), nullptr));
      case 13: {
        const hsize_t dims = 0;
        return Count(write(H5T_STD_I32LE, H5T_NATIVE_INT64, H(H5Screate_simple(1, &dims, nullptr)),
                           nullptr));
      }
      case 14: {
        H type(H5Tcopy(H5T_C_S1));
        H5Tset_size(type.get(), H5T_VARIABLE);
        H5Tset_cset(type.get(), H5T_CSET_UTF8);
        const char* p = nullptr;
        return Count(write(type.get(), type.get(), scalar(), &p));
      }
      default: {
        const uint32_t bits = static_cast<uint32_t>(number);
        return Count(write(H5T_STD_B32LE, H5T_NATIVE_B32, scalar(), &bits));
      }
    }
  }

  bool DeleteAttribute() {
    const uint8_t which = in.Next();
    if (base.attributes.empty()) return false;
    const auto& a = base.attributes[which % base.attributes.size()];
    if (!Exists(a.first)) return false;
    return Count(H5Adelete_by_name(file, a.first.c_str(), a.second.c_str(), H5P_DEFAULT) >= 0);
  }

  // ---- links and members

  // Where a link goes: over an existing object, or a new member of a list group.
  std::string LinkPlace(bool over) {
    if (over) {
      const std::string path = Pick(base.objects);
      if (path.empty() || !Exists(Parent(path))) return {};
      Remove(path);
      return path;
    }
    const std::string& group = Pick(base.lists);
    if (group.empty() || !Exists(group)) return {};
    return Join(group, std::to_string(Links(group)));
  }

  bool DeleteObject() { return Count(Remove(Pick(base.objects))); }

  bool Rename(int v) {
    const std::string& path = Pick(base.objects);
    if (!Reachable(path, true)) return false;
    const std::string to = Join(Parent(path), kNames[v]);
    if (to == path || Reachable(to, true)) return false;
    return Count(H5Lmove(file, path.c_str(), file, to.c_str(), H5P_DEFAULT, H5P_DEFAULT) >= 0);
  }

  bool HardLink(int v) {
    const std::string& source = Pick(base.objects);
    const std::string& group = Pick(base.lists);
    if (source.empty() || group.empty() || !Exists(source) || !Exists(group)) return false;
    const hsize_t n = Links(group);
    const std::string name = v == 0 ? std::to_string(n) : v == 1 ? std::to_string(n + 1) : kNames[v];
    const std::string to = Join(group, name);
    if (Reachable(to, true) || ++created > kMaxCreated) return false;
    return Count(H5Lcreate_hard(file, source.c_str(), file, to.c_str(), H5P_DEFAULT,
                                H5P_DEFAULT) >= 0);
  }

  bool SoftLink(int v) {
    const std::string place = LinkPlace(v & 8);
    const std::string target = Path(in.Next());
    if (place.empty() || Reachable(place, true) || target.empty() || ++created > kMaxCreated)
      return false;
    return Count(H5Lcreate_soft(target.c_str(), file, place.c_str(), H5P_DEFAULT, H5P_DEFAULT) >= 0);
  }

  bool ExternalLink(int v) {
    const std::string place = LinkPlace(v & 8);
    if (place.empty() || Reachable(place, true) || ++created > kMaxCreated) return false;
    static const char* const kObjects[8] = {"/", "/x", "/g", "/m", "/i", "/", "/steps", "/x"};
    const int which = v & 7;
    const std::string target = which == 0   ? g_path + ".missing"
                               : which == 7 ? g_fifoPath
                               : which >= 5 ? g_path
                                            : g_sidePath;
    externalLinkMade = true;
    return Count(H5Lcreate_external(target.c_str(), kObjects[v & 7], file, place.c_str(),
                                    H5P_DEFAULT, H5P_DEFAULT) >= 0);
  }

  bool CopyMembers(int v) {
    const std::string& group = Pick(base.lists);
    const uint8_t how = in.Next();
    if (group.empty() || !Exists(group)) return false;
    const hsize_t n = Links(group);
    if (n == 0) return false;
    const std::string source = Join(group, std::to_string((how >> 3) % n));
    if (!Exists(source)) return false;
    hsize_t next = n + ((v & 2) ? 1 : 0);
    bool any = false;
    for (uint64_t i = 0; i < kCopies[how & 7] && created < kMaxCreated; ++i, ++created) {
      const std::string to = Join(group, std::to_string(next++));
      const herr_t status =
          (v & 1) || externalLinkMade ? H5Lcreate_hard(file, source.c_str(), file, to.c_str(), H5P_DEFAULT, H5P_DEFAULT)
                  : H5Ocopy(file, source.c_str(), file, to.c_str(), H5P_DEFAULT, H5P_DEFAULT);
      if (status < 0) break;
      any = true;
    }
    return Count(any);
  }

  bool ReplaceWithGroup(int v) {
    const std::string& path = Pick(base.objects);
    if (path.empty() || !Remove(path)) return false;
    H g(H5Gcreate2(file, path.c_str(), H5P_DEFAULT, H5P_DEFAULT, H5P_DEFAULT));
    if (g.ok() && (v & 1)) H(H5Gcreate2(g.get(), "0", H5P_DEFAULT, H5P_DEFAULT, H5P_DEFAULT));
    return Count(g.ok());
  }

  bool AddMember(int v) {
    const std::string& group = Pick(base.lists);
    if (group.empty() || !Exists(group) || ++created > kMaxCreated) return false;
    const hsize_t n = Links(group);
    const auto group_at = [&](const std::string& name) {
      const std::string path = Join(group, name);
      if (Reachable(path, true)) return false;
      return H(H5Gcreate2(file, path.c_str(), H5P_DEFAULT, H5P_DEFAULT, H5P_DEFAULT)).ok();
    };
    const auto dataset_at = [&](const std::string& name, hid_t type, bool scalar) {
      const std::string path = Join(group, name);
      if (Reachable(path, true)) return false;
      const hsize_t dims = 2;
      H space(scalar ? H5Screate(H5S_SCALAR) : H5Screate_simple(1, &dims, nullptr));
      H d(H5Dcreate2(file, path.c_str(), type, space.get(), H5P_DEFAULT, H5P_DEFAULT, H5P_DEFAULT));
      return d.ok();
    };
    switch (v % 8) {
      case 0: return Count(group_at(std::to_string(n)));
      case 1: return Count(group_at(std::to_string(n + 1)));
      case 2: return Count(dataset_at(std::to_string(n), H5T_STD_I32LE, false));
      case 3: return Count(dataset_at("extra", H5T_IEEE_F32LE, false));
      case 4: return Count(group_at("extra"));
      case 5: return Count(dataset_at(std::to_string(n), H5T_IEEE_F64LE, true));
      case 6:
        return Count(H5Lcreate_soft("/steps/0", file, Join(group, std::to_string(n)).c_str(),
                                    H5P_DEFAULT, H5P_DEFAULT) >= 0);
      default:
        return Count(n > 0 && Exists(Join(group, "0")) &&
                     H5Lcreate_hard(file, Join(group, "0").c_str(), file,
                                             Join(group, std::to_string(n)).c_str(), H5P_DEFAULT,
                                             H5P_DEFAULT) >= 0);
    }
  }

  // ---- the history table

  enum Kind { I8, I32, I32BE, I64, U32, F32, F64, VSTR, VSTRA, FSTR, kKinds };
  struct Member {
    std::string name;
    Kind kind;
    size_t size;  // fixed-length strings
  };
  struct Cell {
    int64_t i = 0;
    double d = 0;
    std::string s;
    bool null = false;
  };
  struct Table {
    std::vector<Member> members;
    std::vector<std::vector<Cell>> rows;
    enum { kRows, kRowsBy1, kScalar } shape = kRows;
    bool huge = false;
    hsize_t hugeRows = 0;
    int filter = 0;  // 0 none, 1 deflate
  };
  static const char* const* FieldNames() {
    static const char* const names[15] = {
        "label", "description", "position", "instance", "node", "element", "integrationPoint",
        "sectionPoint", "face", "set", "double", "complex", "components", "count", "x"};
    return names;
  }
  static bool IsString(Kind k) { return k == VSTR || k == VSTRA || k == FSTR; }
  static bool IsFloat(Kind k) { return k == F32 || k == F64; }

  static size_t MemorySize(const Member& m) {
    switch (m.kind) {
      case I8: return 1;
      case I32: case I32BE: case U32: case F32: return 4;
      case I64: case F64: return 8;
      case VSTR: case VSTRA: return sizeof(char*);
      case FSTR: return m.size;
      default: return 8;
    }
  }
  static H StringType(Kind k, size_t size) {
    H t(H5Tcopy(H5T_C_S1));
    if (k == FSTR) {
      H5Tset_size(t.get(), size);
    } else {
      H5Tset_size(t.get(), H5T_VARIABLE);
      H5Tset_cset(t.get(), k == VSTR ? H5T_CSET_UTF8 : H5T_CSET_ASCII);
    }
    return t;
  }
  // The member's type in the file, or in memory.
  static H MemberType(const Member& m, bool inFile) {
    switch (m.kind) {
      case I8: return H(H5Tcopy(inFile ? H5T_STD_I8LE : H5T_NATIVE_INT8));
      case I32: return H(H5Tcopy(inFile ? H5T_STD_I32LE : H5T_NATIVE_INT32));
      case I32BE: return H(H5Tcopy(inFile ? H5T_STD_I32BE : H5T_NATIVE_INT32));
      case I64: return H(H5Tcopy(inFile ? H5T_STD_I64LE : H5T_NATIVE_INT64));
      case U32: return H(H5Tcopy(inFile ? H5T_STD_U32LE : H5T_NATIVE_UINT32));
      case F32: return H(H5Tcopy(inFile ? H5T_IEEE_F32LE : H5T_NATIVE_FLOAT));
      case F64: return H(H5Tcopy(inFile ? H5T_IEEE_F64LE : H5T_NATIVE_DOUBLE));
      default: return StringType(m.kind, m.size);
    }
  }
  // Memory offsets, each member 8-aligned; returns the row size.
  static size_t Offsets(const std::vector<Member>& members, std::vector<size_t>& at) {
    size_t offset = 0;
    at.clear();
    for (const Member& m : members) {
      at.push_back(offset);
      offset += (MemorySize(m) + 7) / 8 * 8;
    }
    return std::max<size_t>(offset, 8);
  }
  static H CompoundType(const std::vector<Member>& members, bool inFile) {
    std::vector<size_t> at;
    size_t size = Offsets(members, at);
    if (inFile) {
      size = 0;
      for (const Member& m : members) {
        H t = MemberType(m, true);
        at[&m - members.data()] = size;
        size += H5Tget_size(t.get());
      }
      size = std::max<size_t>(size, 1);
    }
    H type(H5Tcreate(H5T_COMPOUND, size));
    for (size_t i = 0; i < members.size(); ++i) {
      H t = MemberType(members[i], inFile);
      if (H5Tinsert(type.get(), members[i].name.c_str(), at[i], t.get()) < 0) return H();
    }
    return type;
  }

  // Reads a table whatever its compound type, as far as the harness knows the members' kinds.
  bool LoadTable(const std::string& path, Table& t) {
    H d = OpenData(path);
    if (!d.ok()) return false;
    H type(H5Dget_type(d.get()));
    if (H5Tget_class(type.get()) != H5T_COMPOUND) return false;
    H space(H5Dget_space(d.get()));
    const hssize_t n = H5Sget_simple_extent_npoints(space.get());
    if (n < 0 || n > 4096) return false;
    const int count = H5Tget_nmembers(type.get());
    for (int m = 0; m < count; ++m) {
      char* name = H5Tget_member_name(type.get(), static_cast<unsigned>(m));
      Member member{name ? name : "", I32, 0};
      H5free_memory(name);
      H mt(H5Tget_member_type(type.get(), static_cast<unsigned>(m)));
      const size_t size = H5Tget_size(mt.get());
      switch (H5Tget_class(mt.get())) {
        case H5T_INTEGER: {
          const bool sign = H5Tget_sign(mt.get()) == H5T_SGN_2;
          const bool big = H5Tget_order(mt.get()) == H5T_ORDER_BE;
          member.kind = size == 1 ? I8 : size == 8 ? I64 : !sign ? U32 : big ? I32BE : I32;
          break;
        }
        case H5T_FLOAT: member.kind = size == 4 ? F32 : F64; break;
        case H5T_STRING:
          if (H5Tis_variable_str(mt.get()) > 0) {
            member.kind = H5Tget_cset(mt.get()) == H5T_CSET_ASCII ? VSTRA : VSTR;
          } else {
            member.kind = FSTR;
            member.size = size;
          }
          break;
        default: return false;
      }
      t.members.push_back(member);
    }
    std::vector<size_t> at;
    const size_t rowSize = Offsets(t.members, at);
    H memory = CompoundType(t.members, false);
    if (!memory.ok()) return false;
    std::vector<unsigned char> buffer(static_cast<size_t>(n) * rowSize, 0);
    if (n > 0 && H5Dread(d.get(), memory.get(), H5S_ALL, H5S_ALL, H5P_DEFAULT, buffer.data()) < 0)
      return false;
    t.rows.assign(static_cast<size_t>(n), std::vector<Cell>(t.members.size()));
    for (size_t r = 0; r < static_cast<size_t>(n); ++r) {
      for (size_t m = 0; m < t.members.size(); ++m) {
        const unsigned char* p = &buffer[r * rowSize + at[m]];
        Cell& c = t.rows[r][m];
        switch (t.members[m].kind) {
          case I8: { int8_t x; std::memcpy(&x, p, 1); c.i = x; break; }
          case I32: case I32BE: { int32_t x; std::memcpy(&x, p, 4); c.i = x; break; }
          case U32: { uint32_t x; std::memcpy(&x, p, 4); c.i = x; break; }
          case I64: std::memcpy(&c.i, p, 8); break;
          case F32: { float x; std::memcpy(&x, p, 4); c.d = x; break; }
          case F64: std::memcpy(&c.d, p, 8); break;
          case VSTR: case VSTRA: {
            char* s;
            std::memcpy(&s, p, sizeof s);
            c.null = s == nullptr;
            c.s = s ? s : "";
            break;
          }
          default: {
            const char* s = reinterpret_cast<const char*>(p);
            c.s.assign(s, strnlen(s, t.members[m].size));
          }
        }
        if (IsFloat(t.members[m].kind)) c.i = std::isfinite(c.d) ? static_cast<int64_t>(std::clamp(c.d, -9e18, 9e18)) : 0;
        else if (!IsString(t.members[m].kind)) c.d = static_cast<double>(c.i);
      }
    }
    if (n > 0) H5Dvlen_reclaim(memory.get(), space.get(), H5P_DEFAULT, buffer.data());
    return true;
  }

  bool StoreTable(const std::string& path, const Table& t) {
    H fileType = CompoundType(t.members, true);
    H memory = CompoundType(t.members, false);
    if (!fileType.ok() || !memory.ok()) return false;
    std::vector<size_t> at;
    const size_t rowSize = Offsets(t.members, at);
    const size_t rows = t.shape == Table::kScalar ? 1 : t.rows.size();
    if (t.shape == Table::kScalar && t.rows.empty()) return false;
    std::vector<unsigned char> buffer(rows * rowSize, 0);
    for (size_t r = 0; r < rows; ++r) {
      for (size_t m = 0; m < t.members.size(); ++m) {
        unsigned char* p = &buffer[r * rowSize + at[m]];
        const Cell& c = t.rows[r][m];
        switch (t.members[m].kind) {
          case I8: { const int8_t x = static_cast<int8_t>(c.i); std::memcpy(p, &x, 1); break; }
          case I32: case I32BE: { const int32_t x = static_cast<int32_t>(c.i); std::memcpy(p, &x, 4); break; }
          case U32: { const uint32_t x = static_cast<uint32_t>(c.i); std::memcpy(p, &x, 4); break; }
          case I64: std::memcpy(p, &c.i, 8); break;
          case F32: { const float x = static_cast<float>(c.d); std::memcpy(p, &x, 4); break; }
          case F64: std::memcpy(p, &c.d, 8); break;
          case VSTR: case VSTRA: {
            const char* s = c.null ? nullptr : c.s.c_str();
            std::memcpy(p, &s, sizeof s);
            break;
          }
          default: std::memcpy(p, c.s.data(), std::min(c.s.size(), t.members[m].size));
        }
      }
    }
    H dcpl(H5Pcreate(H5P_DATASET_CREATE));
    H space;
    if (t.huge) {
      const hsize_t dims = t.hugeRows, maxDims = H5S_UNLIMITED, chunk = 16;
      space = H(H5Screate_simple(1, &dims, &maxDims));
      H5Pset_chunk(dcpl.get(), 1, &chunk);
      if (t.filter) H5Pset_deflate(dcpl.get(), 1);
    } else if (t.shape == Table::kScalar) {
      space = H(H5Screate(H5S_SCALAR));
    } else {
      const hsize_t dims[2] = {rows, 1};
      space = H(H5Screate_simple(t.shape == Table::kRowsBy1 ? 2 : 1, dims, nullptr));
      if (t.filter && rows > 0) {
        const hsize_t chunk[2] = {std::min<hsize_t>(rows, 4), 1};
        H5Pset_chunk(dcpl.get(), t.shape == Table::kRowsBy1 ? 2 : 1, chunk);
        H5Pset_deflate(dcpl.get(), 9);
      }
    }
    Remove(path);
    H d(H5Dcreate2(file, path.c_str(), fileType.get(), space.get(), H5P_DEFAULT, dcpl.get(),
                   H5P_DEFAULT));
    if (!d.ok()) return false;
    if (t.huge || rows == 0) return true;
    return H5Dwrite(d.get(), memory.get(), H5S_ALL, H5S_ALL, H5P_DEFAULT, buffer.data()) >= 0;
  }

  static int FindMember(const Table& t, const std::string& name) {
    for (size_t m = 0; m < t.members.size(); ++m)
      if (t.members[m].name == name) return static_cast<int>(m);
    return -1;
  }

  void SetCell(Table& t, size_t row, int m, uint8_t value, bool raw) {
    Cell& c = t.rows[row][static_cast<size_t>(m)];
    const Member& member = t.members[static_cast<size_t>(m)];
    c.null = false;
    if (IsString(member.kind)) {
      c.s = member.name == "x" ? Path(value) : String(value, in);
    } else if (raw) {
      uint32_t bits = value;
      for (int i = 0; i < 3; ++i) bits = bits << 8 | in.Next();
      c.i = static_cast<int32_t>(bits);
      c.d = static_cast<double>(c.i);
    } else if (IsFloat(member.kind)) {
      c.d = kDoubles[value & 15];
    } else {
      c.i = kInts[value & 31];
    }
  }

  bool HistoryRows(int v) {
    const std::string& path = Pick(base.tables);
    const uint8_t rowByte = in.Next();
    const uint8_t a = in.Next();
    const uint8_t b = v <= 7 || v >= 12 ? in.Next() : 0;
    Table t;
    if (path.empty() || !LoadTable(path, t)) return false;
    if (t.rows.empty() && v != 13) return false;
    const size_t row = t.rows.empty() ? 0 : rowByte % t.rows.size();
    switch (v) {
      case 8: t.rows.push_back(t.rows[row]); break;
      case 9: t.rows.erase(t.rows.begin() + static_cast<long>(row)); break;
      case 10: std::swap(t.rows[row], t.rows[a % t.rows.size()]); break;
      case 11: t.rows.clear(); break;
      case 12: {
        const int m = FindMember(t, FieldNames()[a % 15]);
        if (m < 0) return false;
        t.rows[row][static_cast<size_t>(m)].null = true;
        t.rows[row][static_cast<size_t>(m)].s.clear();
        break;
      }
      case 13: {
        const auto copy = t.rows;
        for (int i = 0; i < 39; ++i) t.rows.insert(t.rows.end(), copy.begin(), copy.end());
        break;
      }
      default: {
        const int m = FindMember(t, FieldNames()[a % 15]);
        if (m < 0) return false;
        SetCell(t, row, m, b, v >= 14);
      }
    }
    return Count(StoreTable(path, t));
  }

  bool HistoryType(int v) {
    const std::string& path = Pick(base.tables);
    const uint8_t a = in.Next();
    const uint8_t b = v == 1 || v == 10 ? in.Next() : 0;
    Table t;
    if (path.empty() || !LoadTable(path, t)) return false;
    const int m = FindMember(t, FieldNames()[a % 15]);
    const auto retype = [&](size_t at, Kind kind) {
      Member& member = t.members[at];
      const Kind old = member.kind;
      member.kind = kind;
      member.size = kind == FSTR ? 16 : 0;
      for (auto& r : t.rows) {
        Cell& c = r[at];
        if (IsString(kind) && !IsString(old)) c.s = std::to_string(c.i);
        if (!IsString(kind) && IsString(old)) c.i = std::atoll(c.s.c_str()), c.d = static_cast<double>(c.i);
      }
    };
    switch (v) {
      case 0:
        if (m < 0) return false;
        t.members.erase(t.members.begin() + m);
        for (auto& r : t.rows) r.erase(r.begin() + m);
        break;
      case 1:
        if (m < 0) return false;
        retype(static_cast<size_t>(m), static_cast<Kind>(b % kKinds));
        break;
      case 2: {
        static const char* const kRenames[8] = {"Label", "label ", "LABEL", "counts",
                                                "x ",    "X",      "pos",   "Count"};
        if (m < 0 || FindMember(t, kRenames[a % 8]) >= 0) return false;
        t.members[static_cast<size_t>(m)].name = kRenames[a % 8];
        break;
      }
      case 3:
        t.members.push_back({a & 1 ? "comment" : "extra", a & 1 ? VSTR : I32, 0});
        for (auto& r : t.rows) r.push_back(Cell{7, 7.0, "extra", false});
        break;
      case 4:
        std::reverse(t.members.begin(), t.members.end());
        for (auto& r : t.rows) std::reverse(r.begin(), r.end());
        break;
      case 5:
        for (size_t i = 0; i < t.members.size(); ++i)
          if (IsString(t.members[i].kind)) retype(i, FSTR);
        break;
      case 6:
      case 9:
      case 12:
        for (size_t i = 0; i < t.members.size(); ++i) {
          const Kind k = t.members[i].kind;
          if (v == 6 && !IsString(k) && !IsFloat(k)) retype(i, I8);
          if (v == 9 && (k == I32 || k == I64)) retype(i, I32BE);
          if (v == 12 && k == I64) retype(i, I32);
        }
        break;
      case 7: t.shape = Table::kRowsBy1; break;
      case 8: t.shape = Table::kScalar; break;
      case 10:
        t.huge = true;
        t.hugeRows = kHuge[b % 8];
        t.filter = a & 1;
        break;
      case 11: t.filter = 1; break;
      case 13:
        for (size_t i = 0; i < t.members.size(); ++i)
          if (!IsString(t.members[i].kind) && !IsFloat(t.members[i].kind)) retype(i, F64);
        break;
      case 14: {
        const int c = FindMember(t, "count");
        if (c < 0) return false;
        retype(static_cast<size_t>(c), VSTR);
        break;
      }
      default:
        for (size_t i = 0; i < t.members.size(); ++i)
          if (t.members[i].kind == VSTR) retype(i, VSTRA);
    }
    return Count(StoreTable(path, t));
  }

  void Apply(uint8_t op) {
    const int v = op >> 4;
    switch (op & 15) {
      case 0: DeleteObject(); break;
      case 1: Rename(v); break;
      case 2: ReplaceDataset(); break;
      case 3: RewriteValues(v); break;
      case 4: SetAttribute(v); break;
      case 5: DeleteAttribute(); break;
      case 6: HistoryRows(v); break;
      case 7: HistoryType(v); break;
      case 8: HardLink(v); break;
      case 9: SoftLink(v); break;
      case 10: ExternalLink(v); break;
      case 11: CopyMembers(v); break;
      case 12: ReplaceWithGroup(v); break;
      case 13: Huge(v); break;
      case 14: Texts(v); break;
      default: AddMember(v); break;
    }
  }
};

// ---------------------------------------------------------------------------------------------
// Opening and reading, and what an opened database promises

bool NeedsInstance(res_OutputPositionEnm p) {
  return (p >= res_NODAL && p <= res_WHOLE_ELEMENT) || p == res_WHOLE_PART_INSTANCE;
}

void CheckModel(const odiK_Model& model) {
  for (const odiK_PartInstance& part : model.instances) {
    if (part.name.IsEmpty()) Fail("an instance without a name opened");
    if (part.coordinates.size() != part.nodeLabels.size() * 3) Fail("coordinates of another count");
    for (size_t i = 0; i < part.nodeLabels.size(); ++i)
      if (part.NodeIndex(part.nodeLabels[i]) != static_cast<int>(i)) Fail("node lookup broken");
    for (size_t c = 0; c < part.elementClasses.size(); ++c) {
      const bme_ElementClass& e = part.elementClasses[c];
      if (e.nodesPerElement < 1 || e.nodesPerElement > 64) Fail("nodes per element out of range");
      if (e.shape < res_LINE || e.shape > res_HEX) Fail("shape out of range");
      if (e.connectivity.size() != e.userElementLabels.size() * static_cast<size_t>(e.nodesPerElement))
        Fail("connectivity of another size");
      for (int node : e.connectivity)
        if (part.NodeIndex(node) < 0) Fail("an element uses a node the instance lacks");
      for (size_t i = 0; i < e.userElementLabels.size(); ++i) {
        const auto ref = part.FindElement(e.userElementLabels[i]);
        if (ref.elementClass != static_cast<int>(c) || ref.element != static_cast<int>(i))
          Fail("element lookup broken");
      }
    }
  }
  for (const odiK_Set& set : model.sets) {
    if (set.kind < res_NODE_SET || set.kind > res_SURFACE_SET) Fail("set kind out of range");
    if (set.instance < 0 || set.instance >= model.NumInstances()) Fail("set instance out of range");
    const odiK_PartInstance& part = model.instances[static_cast<size_t>(set.instance)];
    for (int label : set.labels)
      if (set.kind == res_NODE_SET ? part.NodeIndex(label) < 0 : part.FindElement(label).elementClass < 0)
        Fail("a set label the instance lacks");
  }
}

void CheckHistory(const odiK_Model& model, const ddb_History& h) {
  if (h.position < res_NODAL || h.position > res_GENERAL_PARTICLE) Fail("history position out of range");
  if (h.instance < -1 || h.instance >= model.NumInstances()) Fail("history instance out of range");
  if (h.set < -1 || h.set >= static_cast<int>(model.sets.size())) Fail("history set out of range");
  if (h.components < 1 || h.components > 64) Fail("history components out of range");
  if (h.count < 0) Fail("history count below 0");
  if (h.variableLabel.IsEmpty()) Fail("history output without a label");
  if (!NeedsInstance(h.position)) return;
  if (h.instance < 0) Fail("history output without the instance its position needs");
  const odiK_PartInstance& part = model.instances[static_cast<size_t>(h.instance)];
  if (h.position == res_NODAL || h.position == res_ELEMENT_NODAL) {
    if (h.nodeNumber < 0 || static_cast<size_t>(h.nodeNumber) >= part.nodeLabels.size() ||
        part.nodeLabels[static_cast<size_t>(h.nodeNumber)] != h.node)
      Fail("history node not resolved");
  }
  if (h.position < res_INTEGRATION_POINT || h.position > res_WHOLE_ELEMENT) return;
  if (h.elementClass < 0 || static_cast<size_t>(h.elementClass) >= part.elementClasses.size())
    Fail("history element class not resolved");
  const bme_ElementClass& e = part.elementClasses[static_cast<size_t>(h.elementClass)];
  if (h.elementNumber < 0 || static_cast<size_t>(h.elementNumber) >= e.userElementLabels.size() ||
      e.userElementLabels[static_cast<size_t>(h.elementNumber)] != h.element)
    Fail("history element not resolved");
  if (h.position == res_INTEGRATION_POINT &&
      (h.integrationPoint < 1 || h.sectionPoint < -1 ||
       h.sectionPoint >= static_cast<int>(e.sectionPointLabels.size())))
    Fail("history integration or section point out of range");
  if (h.position == res_ELEMENT_NODAL) {
    const int* nodes = e.Nodes(static_cast<size_t>(h.elementNumber));
    if (std::find(nodes, nodes + e.nodesPerElement, h.node) == nodes + e.nodesPerElement)
      Fail("history node not a node of its element");
  }
}

struct Outcome {
  bool opened = false;
  std::string refusal;  // of Open
  int reads = 0, refusedReads = 0;
};

Outcome OpenAndRead(bool mustRead) {
  Outcome o;
  std::unique_ptr<odb_Odb> odb;
  try {
    odb = odb_Odb::Open(cow_String(g_path));
  } catch (const odb_OdbException& e) {
    o.refusal = e.Message().Std();
    if (e.Path().Std() != g_path) Fail("refusal names another path", e.Path().Std());
    return o;
  } catch (const std::exception& e) {
    Fail("exception other than odb_OdbException escaped Open", e.what());
  } catch (...) {
    Fail("non-standard exception escaped Open");
  }
  o.opened = true;
  if (!odb) Fail("Open returned no database");
  const odiK_Model& model = odb->Model();
  CheckModel(model);
  bool outputs = false;
  for (const ddb_Step& step : odb->Steps()) {
    outputs = outputs || !step.histories.empty();
    for (const ddb_Frame& frame : step.frames) outputs = outputs || !frame.fields.empty();
  }
  if (odb->onlyHasUserDefinedData() == outputs) Fail("onlyHasUserDefinedData is wrong");
  for (const ddb_Step& step : odb->Steps()) {
    if (step.name.IsEmpty()) Fail("a step without a name opened");
    if (step.domain < res_TIME || step.domain > res_ARC_LENGTH) Fail("step domain out of range");
    for (const ddb_History& h : step.histories) {
      CheckHistory(model, h);
      std::vector<double> x, values;
      try {
        odb->ReadHistory(h, x, values);
        ++o.reads;
        if (values.size() != static_cast<size_t>(h.count) * static_cast<size_t>(h.components) *
                                 (h.isPair ? 2 : 1))
          Fail("ReadHistory read values of another count", h.values);
      } catch (const odb_OdbException& e) {
        ++o.refusedReads;
        if (mustRead) Fail("a valid history output did not read", e.Message().Std());
      } catch (const std::exception& e) {
        Fail("exception other than odb_OdbException escaped ReadHistory", e.what());
      } catch (...) {
        Fail("non-standard exception escaped ReadHistory");
      }
    }
    for (const ddb_Frame& frame : step.frames) {
      for (const ddb_FieldOutput& f : frame.fields) {
        if (f.position < res_NODAL || f.position > res_WHOLE_ELEMENT) Fail("field position out of range");
        if (f.instance < 0 || f.instance >= model.NumInstances()) Fail("field instance out of range");
        if (f.valuesPerLabel < 1 || f.valuesPerLabel > 64) Fail("values per label out of range");
        if (f.count < 0) Fail("field count below 0");
        std::vector<int> labels;
        std::vector<float> values;
        try {
          odb->ReadField(f, labels, values);
          ++o.reads;
          if (labels.size() != static_cast<size_t>(f.count) ||
              values.size() != labels.size() * static_cast<size_t>(f.valuesPerLabel))
            Fail("ReadField read another count", f.path);
          const odiK_PartInstance& part = model.instances[static_cast<size_t>(f.instance)];
          for (int label : labels)
            if (f.position == res_NODAL ? part.NodeIndex(label) < 0
                                        : part.FindElement(label).elementClass < 0)
              Fail("ReadField returned a label the instance lacks", f.path);
        } catch (const odb_OdbException& e) {
          ++o.refusedReads;
          if (mustRead) Fail("a valid field did not read", e.Message().Std());
        } catch (const std::exception& e) {
          Fail("exception other than odb_OdbException escaped ReadField", e.what());
        } catch (...) {
          Fail("non-standard exception escaped ReadField");
        }
      }
    }
  }
  return o;
}

// HDF5 identifiers open now: files and their objects, and the library's transient ones.
struct Ids {
  ssize_t fileObjects;
  hsize_t types, spaces, lists;
  bool operator==(const Ids& o) const {
    return fileObjects == o.fileObjects && types == o.types && spaces == o.spaces && lists == o.lists;
  }
};
// Opens the file as a session does, builds every history label and legend, and extracts every
// output in each step that holds it (numeric forms in turn). The only refusals allowed are the
// catalogue's, and for the valid model none; closing drops the file's lists.
void LabelAndExtract(bool mustRead) {
  ddr_Root& root = thr_ThreadSingleton<ddr_Root>::Instance();
  odb_Odb* odb = nullptr;
  try {
    odb = &root.Open(cow_String(g_path));
  } catch (const nex_Exception& e) {
    Fail("opened directly but not as a session opens it", e.Message().Std());
  }
  xypK_XYToolset& toolset = xypK_XYToolset::Instance();
  const cow_List<cow_String> labels = toolset.HistoryVariableLabelList(odb->Model());
  if (toolset.HistoryVariableLegendList(odb->Model()).Size() != labels.Size())
    Fail("history labels and legends differ in number");
  auto object = std::make_shared<oda_OdbIntObj>(odb->Path(), odb->Generation());
  const cow_String file = odb->Path();
  int form = 0;
  for (std::size_t i = 0; i < labels.Size(); ++i) {
    for (std::size_t k = 0; k < odb->Steps().size(); ++k) {
      if (!toolset.StepHistoryLabelListIsMember(labels[i], file, static_cast<int>(k))) continue;
      omu_Arguments args("XYDataFromHistory");
      args.AddKeyword("name", std::make_unique<omu_PrimString>("f"));
      args.AddKeyword("odb", std::make_unique<omu_PrimType>(object));
      args.AddKeyword("outputVariableName", std::make_unique<omu_PrimString>(labels[i]));
      auto steps = std::make_unique<omu_PrimTuple>();
      steps->Append(std::make_unique<omu_PrimNumber>(static_cast<int>(k) + 1));
      args.AddKeyword("steps", std::move(steps));
      args.AddKeyword("numericForm", std::make_unique<omu_PrimEnum<res_ComplexDisplayEnm>>(
                                         static_cast<res_ComplexDisplayEnm>(form++ % 5)));
      args.AddKeyword("complexAngle", std::make_unique<omu_PrimNumber>(1e12));
      try {
        const std::unique_ptr<udd_UserXYData> r = xypK_ReadData::FromHistory(args, true);
        const ddb_History& h = odb->Steps()[k].histories[static_cast<std::size_t>(
            toolset.StepHistoryLabelListKey(labels[i], file, static_cast<int>(k)))];
        if (!r || r->Size() == 0 || r->Size() > static_cast<std::size_t>(h.count))
          Fail("an extraction gave another number of pairs", labels[i].Std());
      } catch (const uti_XypException& e) {
        if (mustRead || (e.Code() != 5 && e.Code() != 20))
          Fail("extraction refused", e.Message().Std());
      } catch (const std::exception& e) {
        Fail("exception other than a catalogue error escaped the extraction", e.what());
      }
    }
  }
  root.Close(file);
  if (toolset.HistoryFile(file)) Fail("closing kept the history lists");
}

Ids Identifiers() {
  Ids o{H5Fget_obj_count(H5F_OBJ_ALL, H5F_OBJ_ALL), 0, 0, 0};
  H5Inmembers(H5I_DATATYPE, &o.types);
  H5Inmembers(H5I_DATASPACE, &o.spaces);
  H5Inmembers(H5I_GENPROP_LST, &o.lists);
  return o;
}
std::string Describe(const Ids& o) {
  return std::to_string(o.fileObjects) + " file objects, " + std::to_string(o.types) + " types, " +
         std::to_string(o.spaces) + " spaces, " + std::to_string(o.lists) + " property lists";
}

void CheckNothingOpen(const Ids& before, const char* when) {
  const Ids now = Identifiers();
  if (!(now == before))
    Fail("HDF5 identifiers left open", std::string(when) + ": " + Describe(before) + " before, " +
                                           Describe(now) + " after");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  H5Eset_auto2(H5E_DEFAULT, nullptr, nullptr);
  int modules = 0;
  xypK_initialize(modules);
  // Down before the singletons it listens to go at exit.
  std::atexit([] {
    int count = 1;
    xypK_finalize(count);
  });
  // The extraction's milestones would fill the log.
  omi_Singleton<cmdC_WIP>::Instance().SetStream(std::fopen("/dev/null", "w"));
  const char* verbose = std::getenv("XYP_FUZZ_VERBOSE");
  g_verbose = verbose && std::strcmp(verbose, "1") == 0;
  const char* keep = std::getenv("XYP_FUZZ_KEEP_FILE");
  g_keepFile = keep && std::strcmp(keep, "1") == 0;
  RemoveLeftovers();
  const std::string stem = "/dev/shm/xyp_fuzz_odbfile_" + std::to_string(static_cast<long>(getpid()));
  g_path = stem + ".h5";
  g_sidePath = stem + "_side.h5";
  g_fifoPath = stem + ".fifo";
  unlink(g_fifoPath.c_str());
  if (mkfifo(g_fifoPath.c_str(), 0600) != 0) Fail("cannot make the FIFO", g_fifoPath);
  std::atexit(RemoveFiles);
  g_longText = std::string(300, 'x') + "\xff";
  g_longPath.clear();
  while (g_longPath.size() < 2000) g_longPath += "/steps";
  MakeSideFile();
  MakeBase(0, WriteRich);
  MakeBase(1, WriteMinimal);
  MakeBase(2, WriteBare);
  MakeBase(3, WriteMany);
  const char* list = std::getenv("XYP_FUZZ_LIST");
  if (list && std::strcmp(list, "1") == 0) ListBases();
  // Each valid model opens and reads whole (this also lets HDF5 make what it keeps for good).
  for (const Base& base : g_bases) {
    WriteWhole(g_path, base.bytes);
    const Outcome o = OpenAndRead(true);
    if (!o.opened) Fail("a valid model does not open", o.refusal);
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Bytes in(data, size);
  const Base& base = g_bases[in.Next() & 3];
  WriteWhole(g_path, base.bytes);
  const Ids before = Identifiers();
  int applied = 0;
  {
    H fapl(H5Pcreate(H5P_FILE_ACCESS));
    H5Pset_fapl_core(fapl.get(), 1 << 20, 1);
    H file(H5Fopen(g_path.c_str(), H5F_ACC_RDWR, fapl.get()));
    if (!file.ok()) Fail("cannot reopen the valid model for damage");
    Damager damager{file.get(), base, in};
    for (int op = 0; op < kMaxOps && in.More(); ++op) damager.Apply(in.Next());
    applied = damager.applied;
    if (H5Fclose(file.Release()) < 0) {
      H5Eprint2(H5E_DEFAULT, stderr);
      Fail("cannot close the damaged file");
    }
  }
  CheckNothingOpen(before, "after damaging");
  // A file that is still the valid model byte for byte must open and read whole.
  const bool intact = ReadWhole(g_path) == base.bytes;
  const Outcome o = OpenAndRead(intact);
  CheckNothingOpen(before, "after the database went");
  if (intact && !o.opened) Fail("the valid model did not open", o.refusal);
  if (o.opened) {
    LabelAndExtract(intact);
    CheckNothingOpen(before, "after labels and extraction");
  }
  if (g_verbose) {
    const char* what = intact ? " (the valid model)" : "";
    if (o.opened)
      std::fprintf(stderr, "odbfile_fuzzer: %d damages%s, opened; %d reads, %d refused (%s)\n",
                   applied, what, o.reads, o.refusedReads, g_path.c_str());
    else
      std::fprintf(stderr, "odbfile_fuzzer: %d damages%s, refused: %s\n", applied, what,
                   o.refusal.c_str());
  }
  return 0;
}
