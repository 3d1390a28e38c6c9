#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "documents/props.h"
#include "documents/unit.h"
#include "documents/wavefileprops.h"
#include "documents/wavelistener.h"
#include "sound/wavfile.h"

class Sound;
class TDrawNodes;
class TUndoUnit;

// One open wave: its sound, file name and save state, the selection every
// command works on, and the parameters last used for each command.
//
// Ranges: GetSelBegin() ... GetSelEnd() is the range of the effects and of
// Delete, Trim, Copy, Cut and Extract (the whole wave without a selection);
// GetSelLow() ... GetSelHigh() is the range of the generators and of Paste,
// Swap and Mix (an empty range at the cursor without a selection).
//
// A command method stores its record, clears `Failed`, runs the sound
// operation and takes the result unless `Failed` is set; the old sound goes
// to the undo record that refers to it (or is destroyed). Methods that
// change the length bracket the work with the listeners' BeginChange and
// SelectResult. The caller (RunWaveCommand) makes the undo record and calls
// SetChanged().
class TUnitWave : public TUnit {
 public:
  // A new, empty document of the given format (state New).
  TUnitWave(const TWaveFileProps& props, const std::string& fileName);
  // A document holding `sound` (state Saved).
  TUnitWave(std::unique_ptr<Sound> sound, const std::string& fileName);
  ~TUnitWave() override;

  // --- TUnit ---------------------------------------------------------------
  bool NeedsSave() const override;
  bool SaveAs(const std::string& fileName, bool temporary) override;
  std::int32_t GetFrequency() const override;
  std::int16_t GetMonoStereo() const override;
  std::int16_t GetBytesPSample() const override;
  void ChangeProperties(const TWaveFileProps& oldProps, const TWaveFileProps& newProps) override;
  TWaveFileProps GetProperties() const;

  // --- window and sound ----------------------------------------------------
  // Those who show the document: told of every repaint, selection and
  // length change. The document does not own them.
  void AddListener(TWaveListener* listener);
  void RemoveListener(TWaveListener* listener);
  const Sound& GetSound() const;
  // Replaces the sound without an undo record (recording into an empty
  // wave); returns the previous sound, or null when the undo record keeps it.
  std::unique_ptr<Sound> SetSound(std::unique_ptr<Sound> sound);
  // Undo: swaps sound, cursor and anchor with the record's.
  void ExchangeSound(TUndoUnit& undoRecord);
  // Gives the sound away to another document; this one is about to close.
  std::unique_ptr<Sound> HandOverSound();
  bool GetSoundHandedOver() const { return SoundHandedOver; }
  bool GetFailed() const { return Failed; }
  // Changes whenever the document takes another sound, so a caller can tell
  // whether a command changed anything.
  std::uint64_t GetSoundVersion() const { return SoundVersion; }
  // Whether the last command refused its parameters (a missing or empty wave,
  // a value the operation cannot take) and changed nothing; the message has
  // been shown.
  bool WasRefused() const { return Refused; }
  void ClearRefused() { Refused = false; }

  // How the file the document was opened from stored its samples, when they
  // were converted on reading; a save clears it (the document's file then
  // holds what the document holds).
  const WavSource& GetSource() const { return Source; }
  void SetSource(const WavSource& source) { Source = source; }

  // --- selection -----------------------------------------------------------
  std::int32_t GetValues() const;
  std::int32_t GetCursor() const { return Cursor; }
  std::int32_t GetAnchor() const { return Anchor; }
  std::int32_t GetSelBegin() const;
  std::int32_t GetSelEnd() const;
  std::int32_t GetSelLow() const;
  std::int32_t GetSelHigh() const;
  bool HasSelection() const { return Cursor != Anchor; }
  void MoveCursor(std::int32_t position);
  void SetCursor(std::int32_t position);
  void SetSelection(std::int32_t begin, std::int32_t end);
  void SetCursorAndAnchor(std::int32_t cursor, std::int32_t anchor);
  void SelectResult(std::int32_t low, std::int32_t high);

  // Replaces the sound by one second drawn through the points: x0 ... x1
  // spans the second, top ... bottom the heights 32767 ... -32767; kind 0
  // joins the points by straight lines, kind 1 smoothly. No undo record;
  // nothing happens with fewer than 2 points or when memory runs out.
  void BuildFromNodes(double x0, double top, double x1, double bottom, const TDrawNodes& nodes,
                      std::uint8_t kind);

  // --- generators ------------------------------------------------------------
  void MakeSilence(const TSilenceProps& props);
  void MakeLine(const TLineProps& props);
  void MakeNoise(const TNoiseProps& props);
  void MakeBlock(const TBlockTriangleProps& props);
  void MakeTriangle(const TBlockTriangleProps& props);
  void MakeSinus(const TSinusProps& props);
  void MakeMFreq(const TMFreqProps& props);

  // --- effects keeping the length -----------------------------------------
  void Volume(const TVolumeProps& props);
  void MaxVolume();
  void Reverse();
  void Up(const TUpProps& props);
  void Distort(const TDistortProps& props);
  void Rotate(const TRotateProps& props);
  void Block(const TBlockProps& props);
  void MixLeftRight(const TLeftRightProps& props);
  void FilterHigh(const THighLowProps& props);
  void FilterLow(const THighLowProps& props);
  void FilterRes(const TResNotchProps& props);
  void FilterNotch(const TResNotchProps& props);
  void Balance(const TBalanceProps& props);

  // --- effects changing the length -----------------------------------------
  void RollIn(const TRollInProps& props);
  void RollOut(const TRollOutProps& props);
  void Length(const TLengthProps& props);
  void TempoPitch(const TTempoPitchProps& props);
  void PerEcho(const TPerEchoProps& props);
  void FilterBlock(const TBlockFilterProps& props);
  void RandomEcho(const TRandomEchoProps& props);

  // --- clipboard and edit --------------------------------------------------
  void Delete();
  void Trim();
  void Copy();
  void Cut();
  void Paste();
  void Swap();
  void Extract();
  void Mix(const TMixProps& props);

  // The parameters last confirmed on this document.
  TWaveRecords Records;

 private:
  friend class TUndoUnit;

  std::int32_t ClipPosition(std::int32_t position) const;
  // Stores the new ends and repaints what changed.
  void ChangeSelection(std::int32_t cursor, std::int32_t anchor);
  // Takes `result` as the sound unless the operation failed or made nothing.
  bool TakeResult(std::unique_ptr<Sound> result);
  void ReplaceSound(std::unique_ptr<Sound> sound);
  // An operation on the range begin ... end that may change its length;
  // it moves begin and end to the range of its result.
  using TLengthOperation =
      std::function<std::unique_ptr<Sound>(std::int32_t& begin, std::int32_t& end)>;
  // Runs `operation` on low ... high between the listeners' BeginChange and
  // SelectResult: the result is taken and its range selected, or on failure
  // the range the command had.
  void ChangeLength(std::int32_t low, std::int32_t high, const TLengthOperation& operation);
  // The sound of the wave registered under `wave`'s name, or null after an
  // "Error" message. An envelope must have values.
  const Sound* EnvelopeSound(const unitUnitWave& wave);
  // Shows `text` as an "Input Error" and marks the command refused.
  void Refuse(const std::string& text);
  double RangeSeconds(std::int32_t begin, std::int32_t end) const;
  void BlockOrTriangle(const TBlockTriangleProps& props, bool triangle);
  void HighLow(const THighLowProps& props, bool high);
  void ResNotch(const TResNotchProps& props, bool notch);
  // Clipboard helpers: the workspace this document belongs to.
  TWorkspace& Owner() const;

  bool SoundHandedOver = false;
  TWaveListeners Listeners;
  std::uint64_t SoundVersion = 0;
  std::unique_ptr<Sound> TheSound;
  std::int32_t Cursor = 0;
  std::int32_t Anchor = 0;
  bool Failed = false;
  bool Refused = false;
  WavSource Source;
};
