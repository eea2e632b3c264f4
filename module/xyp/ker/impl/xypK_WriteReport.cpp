#include "xypK_WriteReport.h"

#include <algorithm>
#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "cmdC_WIP.h"
#include "omi_Singleton.h"
#include "uti_FileException.h"
#include "uti_PreCheckFile.h"
#include "uti_XypException.h"
#include "xypC_XYReportOptions.h"
#include "xypK_MessageTypes.h"
#include "xypK_ReportFile.h"
#include "xypK_Utils.h"

namespace {

constexpr const char* kMargin = "          ";  // every table line starts 10 columns in
constexpr std::size_t kFlushSize = 1 << 20;
constexpr std::size_t kRowsPerInterruptCheck = 4096;

const char* const kCannotOpen =
    "The file designated for the XY Report cannot be opened.  Please check that it is not being "
    "used by another process.";

// The last progress value the single-table layout showed; it lives as long as the module.
int lastProgressShown = -1;

void Cell(std::string& out, float value, xypC_FormatEnum format, int digits) {
  xypK_Utils::AppendFormat(out, value, format, digits);
}

void Blanks(std::string& out, int n) {
  if (n > 0) out.append(static_cast<std::size_t>(n), ' ');
}

}  // namespace

void xypK_WriteReport::Flush(std::FILE* file, std::string& text) {
  if (!text.empty() && std::fwrite(text.data(), 1, text.size(), file) != text.size()) {
    const int error = errno ? errno : EIO;
    throw uti_FileException(error, path_, cow_String(std::strerror(error)) + " (XY report)");
  }
  text.clear();
}

void xypK_WriteReport::WriteReport(bool append, cow_String fileName, DataMap& data,
                                   cow_List<cow_String>& names, cow_String xTitle,
                                   cow_String yTitle) {
  path_ = uti_PreCheckFile(fileName, uti_WRITE_ACCESS, "");
  const xypC_XYReportSettings options = xypC_XYReportOptions::TheInstance().Current();
  const int N = static_cast<int>(data.Size());
  const bool interpolation = N == 1 ? false : options.interpolation;
  // Every width derived from the digits uses the digits the numbers are formatted with, which
  // stop at kMaxDigits: a larger numDigits neither widens the columns past the numbers nor
  // overflows the width arithmetic.
  const int digits = std::clamp(options.numDigits, 1, xypK_Utils::kMaxDigits);
  const int W = options.numberFormat == xypC_ENGINEERING ? 2 * digits + 5 : digits + 6;

  // The settings are checked before the file is opened: a refused report leaves it untouched.
  if (!options.xyData && !options.totals && !options.minMax)
    xypK_MessageTypes::ErrorPrintMethodSelection();
  int P = N, T = 1;
  if (options.pageWidthLimited == xypC_SPECIFY) {
    // 64-bit: any int page width, the most negative included, divides without overflow.
    const long long columns = (static_cast<long long>(options.pageWidth) - 8) / (W + 2) - 1;
    if (columns < 1) xypK_MessageTypes::ErrorTableWidthSize();
    if (columns >= N) {
      P = N;
    } else {
      P = static_cast<int>(columns);
      T = (N - 1) / P + 1;
    }
  }
  if (options.layout != xypC_SINGLE_TABLE && options.layout != xypC_SEPARATE_TABLES)
    xypK_MessageTypes::ErrorUnknownColumnLayout();

  // Written whole or not at all: an interruption or a failed write leaves the file as it was.
  xypK_ReportFile file;
  if (!file.Open(path_, append)) {
    omi_Singleton<cmdC_WIP>::Instance().Error(kCannotOpen);
    return;
  }
  std::FILE* stream = file.Stream();
  std::string out;
  try {
    if (options.layout == xypC_SINGLE_TABLE) {
      if (!xTitle.IsEmpty() || !yTitle.IsEmpty()) {
        const long long span = static_cast<long long>(P) * (W + 2);
        out += kMargin;
        out += xypK_Utils::CenterString(xTitle, W).View();
        out += "  ";
        out += xypK_Utils::CenterString(yTitle,
                                        static_cast<int>(std::min<long long>(span - 2, INT_MAX)))
                   .View();
        out += "\n";
        out += kMargin;
        out.append(static_cast<std::size_t>(W), '-');
        out += " ";
        out.append(static_cast<std::size_t>(span), '-');
        out += "\n";
        Flush(stream, out);
      }
      for (int t = 0; t < T; ++t)
        SingleTablePrint(stream, names, data, t * P, t == T - 1 ? N - t * P : P, digits,
                         options.xyData, options.totals, options.minMax, interpolation,
                         options.numberFormat, W);
    } else {
      SeparateTablePrint(stream, names, data, digits, options.xyData, options.totals,
                         options.minMax, options.numberFormat, W);
    }
  } catch (const uti_XypException&) {
    // A row refused by the interpolation check: the rows before it stay in the file.
    file.Commit();
    throw;
  }
  out += "\n\n";
  Flush(stream, out);
  file.Commit();
}

cow_String xypK_WriteReport::TitleLine(cow_List<cow_String>& names, int first, int count, int W,
                                       xypC_FormatEnum format) {
  const bool engineering = format == xypC_ENGINEERING;
  const std::size_t width = static_cast<std::size_t>(std::max(W, 1));
  std::vector<cow_String> shown;
  int L = 1;
  int position = 0;
  for (const cow_String& name : names) {
    if (position >= first && position < first + count) {
      shown.push_back(name);
      const int pieces =
          static_cast<int>(std::max<std::size_t>(1, (name.Length() + width - 1) / width));
      L = std::max(L, pieces);
    }
    ++position;
  }
  cow_String text;
  for (int line = L; line >= 1; --line) {
    text += "\n";
    text += kMargin;
    if (line == 1)
      text += engineering ? xypK_Utils::CenterString("X", W) : xypK_Utils::RightString("X", W);
    else
      text += cow_String(std::string(width, ' '));
    for (const cow_String& name : shown) {
      text += "  ";
      const int pieces =
          static_cast<int>(std::max<std::size_t>(1, (name.Length() + width - 1) / width));
      if (line > pieces) {
        text += cow_String(std::string(width, ' '));
        continue;
      }
      const cow_String piece = name.Substr(static_cast<std::size_t>(pieces - line) * width, width);
      const bool centred = engineering || (line == 1 && pieces >= 2);
      text += centred ? xypK_Utils::CenterString(piece, W) : xypK_Utils::RightString(piece, W);
    }
  }
  text += "\n\n";
  return text;
}

void xypK_WriteReport::SingleTablePrint(std::FILE* file, cow_List<cow_String>& names, DataMap& data,
                                        int first, int count, int digits, bool xyData, bool totals,
                                        bool minMax, bool interpolation, xypC_FormatEnum format,
                                        int W) {
  struct Column {
    const udd_UserXYData* data;
    std::size_t read = 0;
    bool shown = false;
    double total = 0.0;
    float minimum = FLT_MAX, maximum = -FLT_MAX;
    float xAtMinimum = -FLT_MAX, xAtMaximum = -FLT_MAX;
    bool started = false, finished = false;
    float lastX = 0.0f, lastY = 0.0f;
    bool HasPairs() const { return read < data->Size(); }
  };
  std::vector<Column> columns;
  int position = 0;
  for (const cow_String& name : names) {
    Column c;
    c.data = &data.ConstGet(name);
    c.shown = position >= first && position < first + count;
    columns.push_back(c);
    ++position;
  }

  std::string out = TitleLine(names, first, count, W, format).Std();
  Flush(file, out);

  // Progress runs from the smallest first X to the largest last X of the data sets with pairs.
  float xMin = FLT_MAX, xMax = -FLT_MAX;
  for (const Column& c : columns) {
    if (c.data->Size() == 0) continue;
    xMin = std::min(xMin, c.data->Pair(0).x);
    xMax = std::max(xMax, c.data->Pair(c.data->Size() - 1).x);
  }
  const float step = (xMax - xMin) / 100.0f;

  double xTotal = 0.0;
  float rowMin = FLT_MAX, rowMax = -FLT_MAX;
  bool havePrevious = false;
  float previousX = 0.0f;
  const std::string noValue = xypK_Utils::RightString("NoValue", W).Std();
  cmdC_WIP& wip = omi_Singleton<cmdC_WIP>::Instance();
  std::size_t rows = 0;
  for (;;) {
    if (++rows % kRowsPerInterruptCheck == 0) wip.InterruptedThrow();
    // The row's x: the smallest X at the read positions. The data set that supplies it always
    // moves on, so an infinite or undefined X cannot make rows forever.
    int supplier = -1;
    for (std::size_t i = 0; i < columns.size(); ++i) {
      if (!columns[i].HasPairs()) continue;
      const float candidate = columns[i].data->Pair(columns[i].read).x;
      if (supplier < 0 || candidate < columns[supplier].data->Pair(columns[supplier].read).x)
        supplier = static_cast<int>(i);
    }
    if (supplier < 0) break;
    const float x = columns[supplier].data->Pair(columns[supplier].read).x;

    if (step >= 1e-6f && std::isfinite(x) && std::isfinite(step)) {
      const double p = (static_cast<double>(x) - xMin) / step;
      // X values that go back can lie beyond the last X: progress stops at 100 %.
      const int progress = p >= 0 ? static_cast<int>(std::min(p, 100.0)) : 0;
      if (progress % 5 == 0 && progress != lastProgressShown) {
        xypK_MessageTypes::MilestoneWritingReport(progress);
        lastProgressShown = progress;
      }
    }

    const std::size_t rowStart = out.size();
    if (xyData) {
      out += kMargin;
      Cell(out, x, format, digits);
    }
    xTotal += x;
    rowMin = std::min(rowMin, x);
    rowMax = std::max(rowMax, x);

    for (std::size_t i = 0; i < columns.size(); ++i) {
      Column& c = columns[i];
      const bool matched = c.HasPairs() && (static_cast<int>(i) == supplier ||
                                            std::fabs(c.data->Pair(c.read).x - x) < 1e-10);
      if (matched) {
        const float y = c.data->Pair(c.read).y;
        if (c.shown) {
          if (xyData) {
            out += "  ";
            Cell(out, y, format, digits);
          }
          c.total += y;
          if (y < c.minimum) {
            c.minimum = y;
            c.xAtMinimum = x;
          }
          if (y > c.maximum) {
            c.maximum = y;
            c.xAtMaximum = x;
          }
          c.lastX = x;
          c.lastY = y;
          c.started = true;
        }
        ++c.read;
        if (!c.HasPairs() && c.shown) c.finished = true;
        continue;
      }
      if (!c.shown) continue;
      if (!interpolation || c.data->Size() == 0) {
        if (xyData) {
          out += "  ";
          out += noValue;
        }
        continue;
      }
      // The first row has no previous x to compare with.
      if (havePrevious && x < previousX) {
        out.resize(rowStart);  // the refused row is not written; the rows before it are
        Flush(file, out);
        xypK_MessageTypes::ErrorXValueDecreasedInInterpolationSel();
      }
      float value;
      if (!c.started) {
        value = c.data->Pair(0).y;
      } else if (c.finished) {
        value = c.lastY;
      } else {
        const udd_PairEntry& next = c.data->Pair(c.read);
        value = c.lastY + (next.y - c.lastY) * (x - c.lastX) / (next.x - c.lastX);
      }
      c.total += value;
      if (xyData) {
        out += "  ";
        Cell(out, value, format, digits);
      }
    }
    previousX = x;
    havePrevious = true;
    if (xyData) out += "\n";
    if (out.size() >= kFlushSize) Flush(file, out);
  }

  if (totals) {
    out += "\n TOTAL  ";
    out += "  ";
    Cell(out, static_cast<float>(xTotal), format, digits);
    for (const Column& c : columns) {
      if (!c.shown) continue;
      out += "  ";
      Cell(out, static_cast<float>(c.total), format, digits);
    }
    out += "\n";
  }
  if (minMax) {
    // A MINIMUM or MAXIMUM row (with the X cell) and its "AT X =" row (X cell left blank).
    auto columnCells = [&](float Column::*value) {
      for (const Column& c : columns) {
        if (!c.shown) continue;
        out += "  ";
        Cell(out, c.*value, format, digits);
      }
    };
    auto extremes = [&](const char* head, float xCell, float Column::*value, float Column::*where) {
      out += head;
      out += "  ";
      Cell(out, xCell, format, digits);
      columnCells(value);
      out += "\n  AT X =";
      out += "  ";
      Blanks(out, W);
      columnCells(where);
    };
    extremes("\n MINIMUM", rowMin, &Column::minimum, &Column::xAtMinimum);
    extremes("\n MAXIMUM", rowMax, &Column::maximum, &Column::xAtMaximum);
    out += "\n";
  }
  out += "\n\n";
  Flush(file, out);
}

void xypK_WriteReport::SeparateTablePrint(std::FILE* file, cow_List<cow_String>& names,
                                          DataMap& data, int digits, bool xyData, bool totals,
                                          bool minMax, xypC_FormatEnum format, int W) {
  std::size_t allPairs = 0;
  for (const cow_String& name : names) allPairs += data.ConstGet(name).Size();
  const std::size_t step = std::max<std::size_t>(1, allPairs / 19);
  std::size_t written = 0;
  cmdC_WIP& wip = omi_Singleton<cmdC_WIP>::Instance();

  std::string out;
  int position = 0;
  for (const cow_String& name : names) {
    const udd_UserXYData& set = data.ConstGet(name);
    out += TitleLine(names, position++, 1, W, format).View();
    double xTotal = 0.0, yTotal = 0.0;
    float xMinimum = FLT_MAX, xMaximum = -FLT_MAX, yMinimum = FLT_MAX, yMaximum = -FLT_MAX;
    float xAtYMinimum = -FLT_MAX, xAtYMaximum = -FLT_MAX;
    for (std::size_t i = 0; i < set.Size(); ++i) {
      const udd_PairEntry& pair = set.Pair(i);
      if (xyData) {
        out += kMargin;
        Cell(out, pair.x, format, digits);
        out += "  ";
        Cell(out, pair.y, format, digits);
        out += "\n";
      }
      xTotal += pair.x;
      yTotal += pair.y;
      if (pair.x < xMinimum) xMinimum = pair.x;
      if (pair.x > xMaximum) xMaximum = pair.x;
      if (pair.y < yMinimum) {
        yMinimum = pair.y;
        xAtYMinimum = pair.x;
      }
      if (pair.y > yMaximum) {
        yMaximum = pair.y;
        xAtYMaximum = pair.x;
      }
      if (written % kRowsPerInterruptCheck == 0) wip.InterruptedThrow();
      if (++written % step == 0)
        xypK_MessageTypes::MilestoneWritingReport(static_cast<int>(written * 100 / allPairs));
      if (out.size() >= kFlushSize) Flush(file, out);
    }
    if (totals) {
      out += "\n TOTAL  ";
      out += "  ";
      Cell(out, static_cast<float>(xTotal), format, digits);
      out += "  ";
      Cell(out, static_cast<float>(yTotal), format, digits);
      out += "\n";
    }
    if (minMax) {
      out += "\n MINIMUM";
      out += "  ";
      Cell(out, xMinimum, format, digits);
      out += "  ";
      Cell(out, yMinimum, format, digits);
      out += "\n  AT X =";
      out += "  ";
      Blanks(out, W);
      out += "  ";
      Cell(out, xAtYMinimum, format, digits);
      out += "\n";
      out += " MAXIMUM";
      out += "  ";
      Cell(out, xMaximum, format, digits);
      out += "  ";
      Cell(out, yMaximum, format, digits);
      out += "\n  AT X =";
      out += "  ";
      Blanks(out, W);
      out += "  ";
      Cell(out, xAtYMaximum, format, digits);
      out += "\n";
    }
    out += "\n\n";
    Flush(file, out);
  }
}
