#include "prbK_ProbeReportPrinter.h"

#include <algorithm>
#include <cerrno>
#include <cfloat>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "cmdC_WIP.h"
#include "omi_Singleton.h"
#include "prbK_ProbeReportUtils.h"
#include "prbK_ProbeToolset.h"
#include "uti_FileException.h"

namespace {
constexpr std::size_t kFlushSize = 1 << 16;
}

template <>
const uti_LabelMap<prbK_ProbeReportPrinterEnm, 1>::Row
    uti_LabelMap<prbK_ProbeReportPrinterEnm, 1>::table[] = {
        {"********************************************************************************\n"
         "Probe Values Report, written on %s\n",
         "prbK_ProbeReportPrinter_MSGID_00", prbK_MSG_ReportTitle},
        {nullptr, nullptr, prbK_MSG_ReportTitle}};

template <>
const uti_LabelMap<prbK_MessageEnm, 1>::Row uti_LabelMap<prbK_MessageEnm, 1>::table[] = {
    {"Writing model information ...", "prbK_WRITING_MODEL", prbK_WRITING_MODEL},
    {"Formatting field output information ...", "prbK_FORMATTING_FIELD", prbK_FORMATTING_FIELD},
    {"Writing field output information ...", "prbK_WRITING_FIELD", prbK_WRITING_FIELD},
    {"Writing report...", "prbK_WRITING_REPORT", prbK_WRITING_REPORT},
    {nullptr, nullptr, prbK_WRITING_MODEL}};

void prbK_ProbeReportPrinter::AppendToRowBasedDataList(const cow_1DArrayList<cow_String>& row,
                                                       bool model) {
  (model ? modelRows_ : fieldRows_).Append(prbK_RowBasedDataList{row, -1});
}

void prbK_ProbeReportPrinter::AppendToHeaderFooterList(const cow_List<cow_String>& row, bool flag) {
  headerFooterRows_.Append(prbK_RowBasedHeaderFooterList{row, flag});
}

void prbK_ProbeReportPrinter::PrintDateAndTime() {
  const std::time_t now = std::time(nullptr);
  const char* date = std::ctime(&now);
  const cow_String title =
      uti_LabelMap<prbK_ProbeReportPrinterEnm, 1>::LabelString(prbK_MSG_ReportTitle);
  Write(title.Substitute("%s", date ? cow_String(date) : cow_String("\n")));
}

void prbK_ProbeReportPrinter::Write(const cow_String& text) {
  out_.append(text.View());
  if (out_.size() >= kFlushSize) Flush();
}

void prbK_ProbeReportPrinter::Write(const char* text) {
  out_.append(text);
  if (out_.size() >= kFlushSize) Flush();
}

void prbK_ProbeReportPrinter::Flush() {
  errno = 0;
  if (!out_.empty() && std::fwrite(out_.data(), 1, out_.size(), file_) != out_.size()) {
    const int error = errno ? errno : EIO;
    throw uti_FileException(error, fileName_, cow_String(std::strerror(error)) + " (probe report)");
  }
  out_.clear();
}

void prbK_ProbeReportPrinter::Right(const cow_String& text, int width) {
  Write("  ");
  Write(prbK_ProbeReportUtils::RightString(text, width));
}

void prbK_ProbeReportPrinter::Left(const cow_String& text, int width) {
  Write("  ");
  Write(prbK_ProbeReportUtils::LeftString(text, width));
}

void prbK_ProbeReportPrinter::Dashes(int count) {
  Write(cow_String(std::string(static_cast<std::size_t>(std::max(count, 0)), '-') + "\n"));
}

cow_String prbK_ProbeReportPrinter::NumberCell(const cow_String& text) const {
  if (text.IsEmpty()) return cow_String();
  const double v = std::atof(text.CStr());
  if (!(v > -static_cast<double>(FLT_MAX) && v < static_cast<double>(FLT_MAX))) return cow_String();
  return prbK_ProbeReportUtils::Format(static_cast<float>(v), Options().numFormat,
                                       Options().numDigits);
}

int prbK_ProbeReportPrinter::ValueWidth() const {
  return std::clamp(Options().numDigits + 8, 8, 15);
}

void prbK_ProbeReportPrinter::Milestone(prbK_MessageEnm message, int done, int rows) {
  const int every = std::max(rows / 10, 1);
  if (rows <= 0 || done % every != 0) return;
  omi_Singleton<cmdC_WIP>::Instance().Milestone(
      uti_LabelMap<prbK_MessageEnm, 1>::LabelString(message),
      static_cast<int>(static_cast<long long>(done) * 100 / rows));
}

const prbC_ProbeReportCTX& prbK_ProbeReportPrinter::Options() const {
  return prbK_ProbeToolset::Instance().ReportOptions();
}

void prbK_ProbeReportPrinter::ClearRows() {
  modelRows_ = cow_List<prbK_RowBasedDataList>();
  fieldRows_ = cow_List<prbK_RowBasedDataList>();
  headerFooterRows_ = cow_List<prbK_RowBasedHeaderFooterList>();
}
