// The record browser's list and cursor logic.
#include "documents/recordbrowser.h"

#include "base/tbassert.h"

namespace {

std::vector<std::unique_ptr<TBrowseRecord>> Cloned(
    const std::vector<std::unique_ptr<TBrowseRecord>>& records) {
  std::vector<std::unique_ptr<TBrowseRecord>> copy;
  copy.reserve(records.size());
  for (const auto& record : records) copy.push_back(record->Clone());
  return copy;
}

}  // namespace

TRecordBrowser::TRecordBrowser(std::vector<std::unique_ptr<TBrowseRecord>> records)
    : Count(static_cast<int>(records.size())), Records(std::move(records)) {
  TB_ASSERT(Count >= 1);
  EditBrowseRecord = Records.front().get();
}

TRecordBrowser::TRecordBrowser(const TRecordBrowser& other)
    : Cursor(other.Cursor), Count(other.Count), Records(Cloned(other.Records)) {
  EditBrowseRecord = Cursor < static_cast<int>(Records.size()) ? Records[Cursor].get() : nullptr;
  TB_ASSERT_TEXT(EditBrowseRecord != nullptr, "EditBrowseRecord != NULL");
  TB_ASSERT(Count == other.Count);
}

TRecordBrowser& TRecordBrowser::operator=(const TRecordBrowser& other) {
  if (this == &other) return *this;
  Records = Cloned(other.Records);
  Cursor = other.Cursor;
  Count = other.Count;
  IsOpen = false;
  CopyPresent = false;
  CopiedRecord.reset();
  Iteration = 0;
  EditBrowseRecord = Cursor < static_cast<int>(Records.size()) ? Records[Cursor].get() : nullptr;
  TB_ASSERT_TEXT(EditBrowseRecord != nullptr, "EditBrowseRecord != NULL");
  TB_ASSERT(Count == other.Count);
  return *this;
}

TRecordBrowser::~TRecordBrowser() = default;

bool TRecordBrowser::CloseOK() {
  if (!StoreCurrent()) return false;
  Disconnect();
  IsOpen = false;
  Iteration = 0;
  return true;
}

void TRecordBrowser::CloseCancel() {
  IsOpen = false;
  DisconnectCancel();
  Iteration = 0;
}

void TRecordBrowser::Open(TBrowserControls& controls) {
  Connect(controls);
  IsOpen = true;
  WriteControls(*EditBrowseRecord);
  UpdateNavigation();
}

bool TRecordBrowser::StoreCurrent() {
  std::unique_ptr<TBrowseRecord> record = ReadControls();
  if (record == nullptr || !Accept(*record)) return false;
  EditBrowseRecord = record.get();
  Records[Cursor] = std::move(record);
  return true;
}

void TRecordBrowser::RemoveRecord(TBrowseRecord& /*record*/) {}

bool TRecordBrowser::Accept(const TBrowseRecord& /*record*/) { return true; }

void TRecordBrowser::GoTo(int index) {
  TB_ASSERT(index >= 0);
  EditBrowseRecord = index < static_cast<int>(Records.size()) ? Records[index].get() : nullptr;
  TB_ASSERT_TEXT(EditBrowseRecord != nullptr, "EditBrowseRecord != NULL");
  Cursor = index;
  WriteControls(*EditBrowseRecord);
  UpdateNavigation();
}

void TRecordBrowser::UpdateNavigation() {
  UpdateNavigation(Count, Cursor + 1, Cursor > 0, Cursor<Count - 1, Count> 1, CopyPresent);
}

void TRecordBrowser::First() {
  if (StoreCurrent()) GoTo(0);
}

void TRecordBrowser::Previous() {
  TB_ASSERT(Cursor > 0);
  if (StoreCurrent()) GoTo(Cursor - 1);
}

void TRecordBrowser::Next() {
  TB_ASSERT(Cursor < Count - 1);
  if (StoreCurrent()) GoTo(Cursor + 1);
}

void TRecordBrowser::Last() {
  if (StoreCurrent()) GoTo(Count - 1);
}

void TRecordBrowser::InsertAt(int index) {
  PrepareInsert();
  auto record = NewRecord();
  EditBrowseRecord = record.get();
  Records.insert(Records.begin() + index, std::move(record));
  ++Count;
  Cursor = index;
  // The controls keep what they show: it becomes the new record's values
  // when it is stored.
  UpdateNavigation();
}

void TRecordBrowser::Insert() {
  if (StoreCurrent()) InsertAt(Cursor);
}

void TRecordBrowser::Append() {
  if (StoreCurrent()) InsertAt(Cursor + 1);
}

void TRecordBrowser::Delete() {
  // The button is disabled on the only record: the list is never empty.
  TB_ASSERT(Count > 1);
  std::unique_ptr<TBrowseRecord> old = std::move(Records[Cursor]);
  Records.erase(Records.begin() + Cursor);
  RemoveRecord(*old);
  const int next = Cursor < static_cast<int>(Records.size()) ? Cursor : Cursor - 1;
  EditBrowseRecord = Records[next].get();
  old.reset();
  --Count;
  GoTo(Cursor < Count ? Cursor : Cursor - 1);
}

void TRecordBrowser::Copy() {
  std::unique_ptr<TBrowseRecord> record = ReadControls();
  if (record == nullptr) return;
  CopiedRecord = std::move(record);
  CopyPresent = true;
  UpdateNavigation();
}

void TRecordBrowser::Paste() {
  TB_ASSERT(CopyPresent);
  WriteControls(*CopiedRecord);
  UpdateNavigation();
}

void TRecordBrowser::Clear() {
  Records.clear();
  Records.push_back(NewRecord());
  EditBrowseRecord = Records.front().get();
  Cursor = 0;
  Count = 1;
  WriteControls(*EditBrowseRecord);
  UpdateNavigation();
}

int TRecordBrowser::GetCount() const {
  TB_ASSERT(!IsOpen);
  return Count;
}

const TBrowseRecord& TRecordBrowser::GetFirstRecord() {
  TB_ASSERT(!IsOpen);
  Iteration = 1;
  return *Records.front();
}

bool TRecordBrowser::GetNextRecord(const TBrowseRecord*& record) {
  TB_ASSERT(!IsOpen);
  if (Iteration >= Count) return false;
  record = Records[Iteration++].get();
  return true;
}
