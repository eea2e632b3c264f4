#include "prbK_SelectedProbeValuesIntObj.h"

#include <algorithm>

#include "omu_PrimBool.h"
#include "omu_PrimNumber.h"
#include "omu_PrimString.h"
#include "omu_PrimTuple.h"
#include "prbK_SelectedProbeValues.h"

namespace {
int ShownRows() {
  return std::max(prbK_SelectedProbeValues::Instance().NumRows(), 1);
}

std::unique_ptr<omu_PrimTuple> Texts(const cow_List<cow_String>& texts) {
  auto tuple = std::make_unique<omu_PrimTuple>();
  for (const cow_String& text : texts) tuple->Append(std::make_unique<omu_PrimString>(text));
  return tuple;
}

std::unique_ptr<omu_PrimTuple> RowTuple(int row) {
  auto cells = std::make_unique<omu_PrimTuple>();
  for (const cow_String& cell : prbK_SelectedProbeValues::Instance().GetValue(row))
    cells->Append(std::make_unique<omu_PrimString>(cell));
  return cells;
}
}  // namespace

const omu_MemberRow prbK_SelectedProbeValuesIntObj::members_[] = {
    {"length", omu_Getter<&prbK_SelectedProbeValuesIntObj::GetLength>, nullptr, "int",
     "the number of rows"},
    {"values", omu_Getter<&prbK_SelectedProbeValuesIntObj::GetValues>, nullptr, "tuple of rows",
     "the selected rows"},
    {"lastValues", omu_Getter<&prbK_SelectedProbeValuesIntObj::GetLastValues>, nullptr, "tuple",
     "the row added last"},
    {"fieldOutputAvailable", omu_Getter<&prbK_SelectedProbeValuesIntObj::GetFieldOutputAvailable>,
     nullptr, "bool", "the rows hold field output"},
    {"header", omu_Getter<&prbK_SelectedProbeValuesIntObj::GetHeader>, nullptr, "tuple of str",
     "the column titles, as the Probe Values dialog shows them"},
    {"sortHeader", omu_Getter<&prbK_SelectedProbeValuesIntObj::GetSortHeader>, nullptr,
     "tuple of str", "the titles of the columns that can be sorted"},
    {"", nullptr, nullptr}};

prbK_SelectedProbeValuesIntObj::prbK_SelectedProbeValuesIntObj() {
  DescribeType(TypeName(), nullptr, members_);
}

std::unique_ptr<omu_InterfaceObj> prbK_SelectedProbeValuesIntObj::Copy() const {
  return std::make_unique<prbK_SelectedProbeValuesIntObj>();
}

omu_Result prbK_SelectedProbeValuesIntObj::GetLength() {
  return std::make_unique<omu_PrimNumber>(ShownRows());
}

omu_Result prbK_SelectedProbeValuesIntObj::GetValues() {
  auto rows = std::make_unique<omu_PrimTuple>();
  for (int r = 0; r < ShownRows(); ++r) rows->Append(RowTuple(r));
  return rows;
}

omu_Result prbK_SelectedProbeValuesIntObj::GetLastValues() {
  return RowTuple(ShownRows() - 1);
}

omu_Result prbK_SelectedProbeValuesIntObj::GetFieldOutputAvailable() {
  return std::make_unique<omu_PrimBool>(
      prbK_SelectedProbeValues::Instance().FieldOutputAvailable());
}

omu_Result prbK_SelectedProbeValuesIntObj::GetHeader() {
  return Texts(prbK_SelectedProbeValues::Instance().Header());
}

omu_Result prbK_SelectedProbeValuesIntObj::GetSortHeader() {
  return Texts(prbK_SelectedProbeValues::Instance().SortHeader());
}
