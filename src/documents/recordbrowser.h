#pragma once

#include <memory>
#include <vector>

#include "documents/props.h"

// A list of parameter records edited through one set of dialog controls: the
// controls show one record, the edit record, and buttons move through the
// list, insert, append, delete, copy and paste. The list and its cursor logic
// live here, without a window; a derived browser connects them to its
// dialog's controls.

// One record of a browsed list.
class TBrowseRecord {
 public:
  virtual ~TBrowseRecord() = default;
  // A deep copy of this record.
  virtual std::unique_ptr<TBrowseRecord> Clone() const = 0;

 protected:
  TBrowseRecord() = default;
  TBrowseRecord(const TBrowseRecord&) = default;
  TBrowseRecord& operator=(const TBrowseRecord&) = default;
};

// One frequency of the multi-frequency generator.
class TMFreqBrowseRecord : public TBrowseRecord {
 public:
  TMFreqBrowseRecord() = default;
  explicit TMFreqBrowseRecord(const TMFreqRecord& values) : Values(values) {}
  std::unique_ptr<TBrowseRecord> Clone() const override {
    return std::make_unique<TMFreqBrowseRecord>(*this);
  }

  // "Start Volume", "Frequency", "Start Angle", "Volume Factor" and
  // "Volume Factor at Time".
  TMFreqRecord Values;
};

// What a derived browser connects to: its dialog's controls.
class TBrowserControls {
 public:
  virtual ~TBrowserControls() = default;
};

class TRecordBrowser {
 public:
  // The list starts with these records (at least one); the first is the
  // edit record.
  explicit TRecordBrowser(std::vector<std::unique_ptr<TBrowseRecord>> records);
  // A copy clones the whole list and keeps the cursor; it is closed and has
  // nothing copied.
  TRecordBrowser(const TRecordBrowser& other);
  TRecordBrowser& operator=(const TRecordBrowser& other);
  virtual ~TRecordBrowser();

  // Stores the controls into the edit record and disconnects; false (the
  // dialog stays open) when they cannot be read.
  virtual bool CloseOK();
  virtual void CloseCancel();
  // Connects the controls and shows the edit record.
  virtual void Open(TBrowserControls& controls);

  // The buttons. Those that move or make a record first store the controls
  // into the edit record and do nothing more when that fails.
  void First();
  void Previous();
  void Next();
  void Last();
  void Insert();
  void Append();
  // Without storing: the edit record is dropped, the one after it (or else
  // before it) is shown.
  void Delete();
  // Keeps what the controls show for Paste.
  void Copy();
  // Shows the copy in the controls; the next store makes it the edit
  // record's values.
  void Paste();
  // One default record instead of the whole list.
  void Clear();

  // The list after the dialog closed.
  int GetCount() const;
  const TBrowseRecord& GetFirstRecord();
  // The record after the last one returned; false after the last.
  bool GetNextRecord(const TBrowseRecord*& record);

  int GetCursor() const { return Cursor; }
  bool GetIsOpen() const { return IsOpen; }
  bool HasCopy() const { return CopyPresent; }
  const TBrowseRecord& GetEditRecord() const { return *EditBrowseRecord; }

 protected:
  virtual void Disconnect() = 0;
  virtual void DisconnectCancel() = 0;
  virtual void Connect(TBrowserControls& controls) = 0;
  // Reads the controls into the edit record; false when one of them cannot
  // be read.
  virtual bool StoreCurrent();
  // A new record from the controls; null when a field cannot be read (its
  // message has been shown).
  virtual std::unique_ptr<TBrowseRecord> ReadControls() = 0;
  virtual void WriteControls(const TBrowseRecord& record) = 0;
  // Called before Insert or Append makes a new record.
  virtual void PrepareInsert() = 0;
  // A record with the defaults.
  virtual std::unique_ptr<TBrowseRecord> NewRecord() = 0;
  // `cursor` counts from 1, as the user sees it.
  virtual void UpdateNavigation(int count, int cursor, bool canPrevious, bool canNext,
                                bool canDelete, bool canPaste) = 0;
  // Called before a record is deleted.
  virtual void RemoveRecord(TBrowseRecord& record);
  // Whether a record read from the controls may replace the edit record.
  virtual bool Accept(const TBrowseRecord& record);
  // Makes record `index` the edit record and shows it.
  virtual void GoTo(int index);

 private:
  void UpdateNavigation();
  // Insert and Append: a new record at `index` becomes the edit record.
  void InsertAt(int index);

  int Cursor = 0;
  int Count = 0;
  bool CopyPresent = false;
  bool IsOpen = false;
  // The next record GetNextRecord returns.
  int Iteration = 0;
  std::vector<std::unique_ptr<TBrowseRecord>> Records;
  // The record at Cursor, owned by Records.
  TBrowseRecord* EditBrowseRecord = nullptr;
  std::unique_ptr<TBrowseRecord> CopiedRecord;
};
