#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "documents/unit.h"
#include "documents/wavefileprops.h"
#include "music/muznote.h"
#include "music/noteplay.h"
#include "music/stave.h"
#include "units/unitvalues.h"

// The music document: a score (the staves with their note groups, the chain
// of symbols, the tempo) and the editing state of its window (the mode, the
// selected symbol, the settings for symbols to add).
//
// Every command has a Can... query that is exactly its precondition; the
// window and the main window enable a command by that query, so a command
// never runs where it would break the score. A command that changes the
// score marks the document changed and tells its listener; one that adds or
// changes a note plays it (AutoPlayNote) when automatic playing is on.

enum TUnitMuzMode : std::uint8_t { unitMuzAdd = 0, unitMuzSel = 1, unitMuzDel = 2 };

// What the document tells the window that shows it.
class TMuzListener {
 public:
  virtual ~TMuzListener() = default;
  // The score changed: repaint.
  virtual void ScoreChanged() {}
};

// Sounds one note; the renderer implements it.
class TNotePlayback {
 public:
  virtual ~TNotePlayback() = default;
  virtual bool PlayNote(const TNoteNote& note, double tempo) = 0;
};

class TUnitMuz : public TUnit {
 public:
  // An empty document (no stave, no symbol), for a file to fill.
  explicit TUnitMuz(const std::string& fileName);
  ~TUnitMuz() override;

  // A new score: one stave with an F clef at 0 and one note group with the
  // default player, the bar 4/4 at 0.
  void InitNew();

  // --- TUnit ---------------------------------------------------------------
  // Saving goes through the installed music file writer.
  bool SaveAs(const std::string& fileName, bool temporary) override;
  std::int32_t GetFrequency() const override { return RenderProps.Frequency; }
  std::int16_t GetMonoStereo() const override { return RenderProps.MonoStereo; }
  std::int16_t GetBytesPSample() const override { return RenderProps.BytesPSample; }
  // Takes the format the score is rendered in.
  void ChangeProperties(const TWaveFileProps& oldProps, const TWaveFileProps& newProps) override;
  const TWaveFileProps& GetRenderProps() const { return RenderProps; }

  using TMusicFileWriter = std::function<bool(const TUnitMuz& unit, const std::string& fileName)>;
  // The writer of the music file format; without one saving fails.
  static void SetMusicFileWriter(TMusicFileWriter writer);

  // --- the score -----------------------------------------------------------
  TNoteStave* GetStartStave() const { return StartStave.get(); }
  // Links `stave` after `afterStave`, or first when that is none.
  TNoteStave* InsertStave(TNoteStave* afterStave, std::unique_ptr<TNoteStave> stave);
  // A stave as the music dialog adds it: rooms 80, one note group with the
  // default player, a clef of `keyKind` at 0; linked after `afterStave`.
  TNoteStave* NewStave(TNoteStave* afterStave, std::int8_t keyKind = keyKindG);
  // Removes the stave with all its symbols and destroys it.
  void DeleteStave(TNoteStave* stave);
  // Removes the group's notes from the score, destroys the group (never the
  // last group of a stave) and fills the gaps left on the stave with rests.
  void DeleteNoteGroup(TNoteGroup* group);
  std::int32_t CountStaves() const;

  TStaveSymbol* GetFirstSymbol() const { return FirstSymbol.get(); }
  TStaveSymbol* GetLastSymbol() const;
  // The bar definition (the first bar of the chain); none in an empty score.
  TMuzBar* GetBar() const;
  // Places a symbol in the chain by its order, for building a score; a
  // note's pitch must be within -43 ... 43 there.
  TStaveSymbol* InsertSymbol(std::unique_ptr<TStaveSymbol> symbol);
  // Unlinks a symbol and hands it back; a selected one is unselected.
  std::unique_ptr<TStaveSymbol> RemoveSymbol(TStaveSymbol* symbol);

  unitTimePosMore Tempo{2.0};

  // Walks from a key forward over its signature (its key-scope accidentals).
  std::vector<TNoteShift*> GetSignature(const TKey& key) const;
  // The key-scope accidental of `key` on `height`, or none.
  TNoteShift* NoteShiftAtKey(const TKey& key, std::int32_t height) const;
  // The notes of a stave at `position` (a chord), in chain order.
  std::vector<TNoteNote*> GetChord(const TNoteStave& stave, double position) const;

  // --- editing state -------------------------------------------------------
  std::uint8_t GetUnitMuzMode() const { return UnitMuzMode; }
  TStaveSymbol* GetSelectedSymbol() const { return SelectedSymbol; }
  // Makes the symbol (or none) the selection; selecting the bar keeps the
  // stave of the old selection as the current stave.
  void SetSelected(TStaveSymbol* symbol);
  TNoteStave* GetCurrentStave() const { return CurrentStave; }
  std::uint8_t GetAddLength() const { return AddLength; }
  std::int32_t GetAddPoints() const { return AddPoints; }
  std::uint8_t GetAddNoteShiftKind() const { return AddNoteShiftKind; }
  std::int8_t GetAddKeyKind() const { return AddKeyKind; }
  std::uint8_t GetAddSymbolKind() const { return AddSymbolKind; }
  bool GetAutoPlay() const { return AutoPlay; }

  void SetListener(TMuzListener* listener) { Listener = listener; }
  void SetNotePlayback(TNotePlayback* playback) { Playback = playback; }
  // Sounds one note through the installed playback; true without one.
  bool PlayNote(const TNoteNote& note, double tempo) const;

  // --- commands --------------------------------------------------------------
  void MusicModeAddExecute();
  void MusicModeEditExecute();
  void MusicModeDeleteExecute();
  void MusicAutoPlayExecute() { AutoPlay = !AutoPlay; }

  // Note and rest commands with the length kind 1, 2, 4, ... 64.
  bool CanMusicNoteExecute(std::int32_t length) const;
  void MusicNoteExecute(std::int32_t length);
  bool CanMusicSilenceExecute(std::int32_t length) const;
  void MusicSilenceExecute(std::int32_t length);
  // Key commands with keyKindG, keyKindC or keyKindF.
  bool CanMusicKeyExecute(std::int8_t keyKind) const;
  void MusicKeyExecute(std::int8_t keyKind);
  void MusicKeyGExecute() { MusicKeyExecute(keyKindG); }
  void MusicKeyCExecute() { MusicKeyExecute(keyKindC); }
  void MusicKeyFExecute() { MusicKeyExecute(keyKindF); }
  // Accidental commands with the kinds noteShiftDoubleKruis ... DoubleMol.
  bool CanMusicNoteShiftExecute(std::uint8_t kind) const;
  void MusicNoteShiftExecute(std::uint8_t kind);
  bool CanMusicPointAddExecute() const;
  void MusicPointAddExecute();
  bool CanMusicPointDeleteExecute() const;
  void MusicPointDeleteExecute();
  bool CanMusicSelectUpExecute() const;
  void MusicSelectUpExecute();
  bool CanMusicSelectDownExecute() const;
  void MusicSelectDownExecute();
  bool CanMusicSelectPrevExecute() const;
  void MusicSelectPrevExecute();
  bool CanMusicSelectNextExecute() const;
  void MusicSelectNextExecute();
  bool CanMusicMoveUpExecute() const;
  void MusicMoveUpExecute();
  bool CanMusicMoveDownExecute() const;
  void MusicMoveDownExecute();
  bool CanMusicMoveOctUpExecute() const;
  void MusicMoveOctUpExecute();
  bool CanMusicMoveOctDownExecute() const;
  void MusicMoveOctDownExecute();
  bool CanMusicMovePrevExecute() const;
  void MusicMovePrevExecute();
  bool CanMusicMoveNextExecute() const;
  void MusicMoveNextExecute();
  bool CanMusicNoteGroupPrevExecute() const;
  void MusicNoteGroupPrevExecute();
  bool CanMusicNoteGroupNextExecute() const;
  void MusicNoteGroupNextExecute();
  bool CanMusicDeleteExecute() const;
  void MusicDeleteExecute();

  // Whether the main window shows a command checked: in add mode the
  // settings for symbols to add, in edit mode the selected symbol's value.
  bool IsMusicNoteChecked(std::int32_t length) const;
  bool IsMusicSilenceChecked(std::int32_t length) const;
  bool IsMusicKeyChecked(std::int8_t keyKind) const;
  bool IsMusicNoteShiftChecked(std::uint8_t kind) const;

  // Delete mode: whether the symbol may be deleted, and deleting it.
  bool CanDeleteSymbol(const TStaveSymbol* symbol) const;
  void DeleteSymbol(TStaveSymbol* symbol);

  // Add mode: inserts the symbol to add (key, note or rest) on `stave` at
  // the gap between `before` and `after` (symbols of that stave or the bar),
  // or into the chord of `chordNote`, at `height`.
  bool CanAddSymbol(TNoteStave* stave, TNoteNote* chordNote, TStaveSymbol* before,
                    TStaveSymbol* after, std::int32_t height) const;
  void AddSymbol(TNoteStave* stave, TNoteNote* chordNote, TStaveSymbol* before, TStaveSymbol* after,
                 std::int32_t height);
  // Add mode with an accidental to add: applies it to a note or a key.
  bool CanAddNoteShiftAt(const TStaveSymbol* symbol) const;
  void AddNoteShiftAt(TStaveSymbol* symbol);

  // --- what notes ask of the document --------------------------------------
  // Gives a pushed note back its pitch and accidental (TNoteNote::Pop).
  void PopNote(TNoteNote& note);

 private:
  enum TSwitchSide : std::uint8_t { side2Left, side2Right };

  void Changed();
  void Unlink(TStaveSymbol* symbol, std::unique_ptr<TStaveSymbol>& owner);
  void LinkAfter(TStaveSymbol* after, std::unique_ptr<TStaveSymbol> symbol);
  // Moves a symbol whose sort keys changed to its place in the chain.
  void Relocate(TStaveSymbol* symbol);
  void DestroyChain();
  // Places symbols whose sort keys changed anew, in their order.
  void Resort(const std::vector<TStaveSymbol*>& symbols);

  std::vector<TNoteNote*> NotesOfStave(const TNoteStave* stave) const;
  void PushAll(const std::vector<TNoteNote*>& notes);
  void PopAll(const std::vector<TNoteNote*>& notes);
  // Moves the symbols of `stave` after `anchor` by `time`, notes keeping
  // their pitch.
  void ShiftAfter(TNoteStave* stave, TStaveSymbol* anchor, double time);
  // The last note of the chord of `note` in the chain.
  TStaveSymbol* ChordEnd(TStaveSymbol* symbol) const;
  void DeleteNoteShift(TNoteShift* noteShift);
  // Removes the accidental written at the note; later notes of the bar on
  // that height keep their pitch.
  void RemoveWrittenNoteShift(TNoteNote& note);
  // Makes `kind` the accidental in effect at the note.
  void SetNoteShiftOfNote(TNoteNote& note, std::uint8_t kind);
  // After the kind in effect at the note changes from `oldKind` to `newKind`,
  // the next note or accidental on that height in the bar keeps its pitch.
  void FixFollowing(const TNoteNote& note, std::uint8_t oldKind, std::uint8_t newKind);
  void SetNoteHeight(TNoteNote& note, std::int32_t height);

  bool IsSelected(TStaveSymbolKind kind) const;
  TNoteNote* SelectedNote() const;
  TKey* SelectedKey() const;
  bool IsChord(const TNoteNote& note) const;
  bool IsOnlyKeyAtZero(const TKey& key) const;
  std::int32_t FreeHeight(const TNoteNote& note, std::int32_t step) const;
  TNoteGroup* NeighbourGroup(const TNoteNote& note, bool next) const;
  TStaveSymbol* SelectedColumn(bool next) const;

  void ChangeKey(TKey& key, std::int8_t keyKind, std::int32_t addOctaves);
  bool CanKeyNoteShift(const TKey& key, std::uint8_t kind) const;
  void KeyNoteShift(TKey& key, std::uint8_t kind);
  bool CanApplyNoteShift(const TStaveSymbol* symbol, std::uint8_t kind) const;
  void ApplyNoteShift(TStaveSymbol* symbol, std::uint8_t kind);
  void ChangeSignatureKind(TNoteShift& noteShift, std::uint8_t kind);
  void RenumberKeysAt(TNoteStave* stave, double position);

  bool SearchForSwitch(TStaveSymbol* start, TSwitchSide side, TStaveSymbol*& found) const;
  void ExchangeColumns(TSwitchSide side);
  void SwitchKeys(TKey& prevKey, TKey& nextKey);
  void MoveKey(TKey& key, double position);

  std::unique_ptr<TNoteStave> StartStave;
  std::unique_ptr<TStaveSymbol> FirstSymbol;
  TStaveSymbol* SelectedSymbol = nullptr;
  TNoteStave* CurrentStave = nullptr;
  std::uint8_t AddLength = 4;
  std::int32_t AddPoints = 0;
  std::uint8_t AddNoteShiftKind = noteShiftKruis;
  std::int8_t AddKeyKind = keyKindG;
  std::uint8_t AddSymbolKind = staveSymbolNote;
  std::uint8_t UnitMuzMode = unitMuzAdd;
  bool AutoPlay = false;
  TWaveFileProps RenderProps{22050, 1, 2};
  TMuzListener* Listener = nullptr;
  TNotePlayback* Playback = nullptr;
};
