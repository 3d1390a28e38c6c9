#pragma once

#include <cstdint>
#include <string>

#include "documents/wavefileprops.h"

// Save states of a document.
enum class TUnitState : std::uint8_t { New = 0, Saved = 1, Changed = 2 };

inline constexpr std::uint8_t kUnitKindWave = 1;
inline constexpr std::uint8_t kUnitKindMuz = 2;

class TWorkspace;

// What wave and music documents share: the registered name, the kind, the
// file name (also the window caption) and the save state.
class TUnit {
 public:
  virtual ~TUnit();
  TUnit(const TUnit&) = delete;
  TUnit& operator=(const TUnit&) = delete;

  virtual bool NeedsSave() const;
  virtual bool Save(bool temporary);
  // Writes the document to `fileName`; false when the file cannot be written.
  virtual bool SaveAs(const std::string& fileName, bool temporary) = 0;
  virtual std::int32_t GetFrequency() const = 0;
  virtual std::int16_t GetMonoStereo() const = 0;
  virtual std::int16_t GetBytesPSample() const = 0;
  virtual void ChangeProperties(const TWaveFileProps& oldProps, const TWaveFileProps& newProps) = 0;

  const std::string& GetRegisterName() const { return RegisterName; }
  void SetRegisterName(const std::string& name) { RegisterName = name; }
  std::uint8_t GetKind() const { return Kind; }
  const std::string& GetFileName() const { return FileName; }
  // Names the document after its file: it is then equal to that file.
  void SetFileName(const std::string& name);
  TUnitState GetState() const { return State; }
  void SetChanged();
  void SetSaved() { State = TUnitState::Saved; }
  void SetNew() { State = TUnitState::New; }
  bool IsNew() const { return State == TUnitState::New; }

  // Saving with the failure reported: a file that cannot be written shows
  // "Cannot write the file: "PATH"." (title "File Error") and leaves the
  // state and the name as they were, so no work is lost unnoticed.
  bool SaveReported();
  bool SaveAsReported(const std::string& fileName);

  // The workspace the document lives in (null for a free-standing one).
  TWorkspace* GetWorkspace() const { return Workspace; }
  void SetWorkspace(TWorkspace* workspace) { Workspace = workspace; }

 protected:
  TUnit(std::uint8_t kind, std::string fileName, TUnitState state);

  std::string RegisterName;
  std::uint8_t Kind;
  std::string FileName;
  TUnitState State;
  TWorkspace* Workspace = nullptr;
};

// "Cannot write the file: "PATH"." in a "File Error" box.
void ShowCannotWrite(const std::string& fileName);
