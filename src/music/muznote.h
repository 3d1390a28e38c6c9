#pragma once

#include <cstdint>
#include <memory>
#include <string>

// The symbols of a score. A score is one chain of symbols of all its staves,
// interleaved in time order: walking it forward plays the score, walking it
// backward from a note finds the clef, key signature, bar and accidentals
// that govern the note. The music document owns the chain (each symbol owns
// the one after it) and keeps it in the order of `TStaveSymbol::Before`.
//
// Positions and durations are whole notes from the start of the score.
// Heights are staff steps from the stave's middle line; a pitch is a diatonic
// step with 0 = middle C and 5 = the A of 440 Hz.

class TNoteStave;
class TNoteGroup;
class TUnitMuz;
class TCompoundPlayer;
class TNoteNote;
class TKey;
class TMuzBar;

enum TStaveSymbolKind : std::uint8_t {
  staveSymbolKey = 0,
  staveSymbolMuzBar = 1,
  staveSymbolNoteShift = 2,
  staveSymbolNote = 3,
  staveSilence = 4,
};

enum TNoteShiftKind : std::uint8_t {
  noteShiftDoubleKruis = 0,  // double sharp, +2 semitones
  noteShiftKruis = 1,        // sharp
  noteShiftNormal = 2,       // natural
  noteShiftMol = 3,          // flat
  noteShiftDoubleMol = 4,    // double flat
};

enum TNoteShiftScopeKind : std::uint8_t {
  noteShiftScopeKey = 0,   // part of the signature of a key
  noteShiftScopeNote = 1,  // before a note, for its height and stave up to the bar end
};

// Clefs: the value is the pitch of the stave's middle line.
inline constexpr std::int8_t keyKindG = 6;
inline constexpr std::int8_t keyKindC = 0;
inline constexpr std::int8_t keyKindF = -6;

inline constexpr std::int32_t kMaxPitch = 43;
inline constexpr std::int32_t kMaxAddOctaves = 2;
inline constexpr std::int32_t kMaxPoints = 3;
inline constexpr std::int32_t kMaxCountNotes = 99;

// x reduced into [low, low + 7).
std::int32_t WrapSteps(std::int32_t x, std::int32_t low = 0);
// Whether `lengthKind` is one of 1, 2, 4, ... 64.
bool IsLengthKind(std::int32_t lengthKind);
// (1 / lengthKind) x (2 - 0.5^points): a note value with its dots.
double NoteValue(std::int32_t lengthKind, std::int32_t points);
// Semitones the accidental kind adds: +2 ... -2.
std::int32_t NoteShiftSemitones(std::uint8_t kind);

class TStaveSymbol {
 public:
  virtual ~TStaveSymbol();
  TStaveSymbol(const TStaveSymbol&) = delete;
  TStaveSymbol& operator=(const TStaveSymbol&) = delete;

  virtual TStaveSymbolKind GetStaveSymbolKind() const = 0;
  // Vertical distance in pixels from the point y, with the stave's middle
  // line at middleLineY, for picking a symbol with the mouse.
  virtual double DistanceTo(double middleLineY, double y) const = 0;
  // A one-line description of the fields, for debugging.
  virtual std::string Dump() const = 0;

  TStaveSymbol* GetNext() const { return Next.get(); }
  TStaveSymbol* GetPrevious() const { return Previous; }
  // None for a bar and only for it.
  TNoteStave* GetNoteStave() const { return NoteStave; }
  double GetSymbolPosition() const { return Position; }
  // The time the symbol takes on its stave: the value of a note or rest, 0
  // for the other kinds.
  virtual double GetDuration() const { return 0; }

  // Whether this symbol comes before `other` in the chain (the order of the
  // chain). Accidentals need the chain for their clef, so `this` should be
  // in the chain or about to be placed in it.
  bool Before(const TStaveSymbol& other) const;

  // Walks backwards from this symbol (itself included) to the first key of
  // `stave`; none when there is none.
  TKey* FindKey(const TNoteStave* stave) const;
  // The first bar at or before this symbol; none when there is none.
  TMuzBar* FindBar() const;

 protected:
  TStaveSymbol(TNoteStave* noteStave, double position) : NoteStave(noteStave), Position(position) {}

 private:
  friend class TUnitMuz;
  // Where in the order a symbol stands among symbols at its position.
  std::int32_t OrderClass() const;
  std::int32_t OrderSecondary() const;

  std::unique_ptr<TStaveSymbol> Next;
  TStaveSymbol* Previous = nullptr;
  TNoteStave* NoteStave;
  double Position;
};

// A clef with its octave shift; its key signature is the key-scope
// accidentals that follow it directly in the chain.
class TKey final : public TStaveSymbol {
 public:
  TKey(TUnitMuz* unit, std::int8_t keyKind, std::int32_t addOctaves, double position,
       TNoteStave* noteStave, std::int32_t sequenceNumber);

  TStaveSymbolKind GetStaveSymbolKind() const override { return staveSymbolKey; }
  double DistanceTo(double middleLineY, double y) const override;
  std::string Dump() const override;

  std::int8_t GetKeyKind() const { return KeyKind; }
  std::int32_t GetAddOctaves() const { return AddOctaves; }
  std::int32_t GetSequenceNumber() const { return SequenceNumber; }
  TUnitMuz* GetUnit() const { return Unit; }
  // The pitch of height 0 under this key.
  std::int32_t GetBasePitch() const { return KeyKind + 7 * AddOctaves; }
  // The heights whose pitch lies within -43 ... 43 under this key.
  std::int32_t GetHighestHeight() const { return kMaxPitch - GetBasePitch(); }
  std::int32_t GetLowestHeight() const { return -kMaxPitch - GetBasePitch(); }
  bool IsHeightAllowed(std::int32_t height) const {
    return height >= GetLowestHeight() && height <= GetHighestHeight();
  }

  // Counts the key signature: false when it is malformed, else true with
  // the number of sharps (> 0) or minus the number of flats.
  bool ToonLadder(std::int32_t& toonladder) const;

 private:
  friend class TUnitMuz;
  std::int8_t KeyKind;
  std::int32_t AddOctaves;
  std::int32_t SequenceNumber;
  TUnitMuz* Unit;
};

class TNoteShift final : public TStaveSymbol {
 public:
  TNoteShift(std::uint8_t kind, std::int32_t height, double position, std::uint8_t scope,
             TNoteStave* noteStave, std::int32_t keySequenceNumber);

  TStaveSymbolKind GetStaveSymbolKind() const override { return staveSymbolNoteShift; }
  double DistanceTo(double middleLineY, double y) const override;
  std::string Dump() const override;

  std::uint8_t GetNoteShiftKind() const { return Kind; }
  std::int32_t GetHeight() const { return Height; }
  std::uint8_t GetNoteShiftScopeKind() const { return Scope; }
  std::int32_t GetKeySequenceNumber() const { return KeySequenceNumber; }

 private:
  friend class TUnitMuz;
  std::uint8_t Kind;
  std::int32_t Height;
  std::uint8_t Scope;
  std::int32_t KeySequenceNumber;
};

// The time signature: `CountNotes` notes of value 1/`NoteLength` make a bar.
class TMuzBar final : public TStaveSymbol {
 public:
  TMuzBar(std::uint8_t noteLength, std::int32_t countNotes, double extraTime, double position);

  TStaveSymbolKind GetStaveSymbolKind() const override { return staveSymbolMuzBar; }
  double DistanceTo(double middleLineY, double y) const override;
  std::string Dump() const override;

  std::uint8_t GetNoteLength() const { return NoteLength; }
  std::int32_t GetCountNotes() const { return CountNotes; }
  double GetExtraTime() const { return ExtraTime; }
  // CountNotes / NoteLength, a real quotient (3/4 is 0.75, not 0).
  double GetBarLength() const;
  // The end of the bar that contains `position`.
  double GetBarEnd(double position) const;

 private:
  friend class TUnitMuz;
  std::uint8_t NoteLength;
  std::int32_t CountNotes;
  double ExtraTime;
};

class TSilence final : public TStaveSymbol {
 public:
  TSilence(std::uint8_t noteLength, std::int32_t points, double position, TNoteStave* noteStave);

  TStaveSymbolKind GetStaveSymbolKind() const override { return staveSilence; }
  double DistanceTo(double middleLineY, double y) const override;
  std::string Dump() const override;
  double GetDuration() const override { return NoteValue(NoteLength, Points); }

  std::uint8_t GetNoteLength() const { return NoteLength; }
  std::int32_t GetPoints() const { return Points; }

 private:
  friend class TUnitMuz;
  std::uint8_t NoteLength;
  std::int32_t Points;
};

// The sounding view of a note, what the players and the renderer use.
class TNote {
 public:
  virtual ~TNote() = default;
  // The next note of the chain (of any stave), or none.
  virtual TNoteNote* GetNextNote() const = 0;
  virtual TCompoundPlayer* GetPlayer() const = 0;
  virtual double GetStart() const = 0;
  // Seconds per period of the sounding frequency (equal temperament).
  virtual double GetPeriod() const = 0;
  // Whole notes, dots included.
  virtual double GetNoteLength() const = 0;
  virtual bool IsMuted() const = 0;

 protected:
  TNote() = default;
};

class TNoteNote final : public TStaveSymbol, public TNote {
 public:
  TNoteNote(TUnitMuz* unit, TNoteGroup* noteGroup, std::uint8_t lengthKind, std::int32_t points,
            double position, std::int32_t height, TNoteStave* noteStave);

  TStaveSymbolKind GetStaveSymbolKind() const override { return staveSymbolNote; }
  double DistanceTo(double middleLineY, double y) const override;
  std::string Dump() const override;
  double GetDuration() const override { return GetNoteLength(); }

  TNoteNote* GetNextNote() const override;
  TCompoundPlayer* GetPlayer() const override;
  double GetStart() const override { return GetSymbolPosition(); }
  double GetPeriod() const override;
  double GetNoteLength() const override { return NoteValue(LengthKind, Points); }
  bool IsMuted() const override;

  double GetPosition() const { return GetSymbolPosition(); }
  TNoteGroup* GetNoteGroup() const { return NoteGroup; }
  TUnitMuz* GetUnit() const { return Unit; }
  std::uint8_t GetLengthKind() const { return LengthKind; }
  std::int32_t GetPoints() const { return Points; }
  std::int32_t GetHeight() const { return Height; }

  // The key that governs the note (the first key of its stave backwards).
  TKey* GetKey() const;
  // Key kind + height + 7 x octave shift of the governing key.
  std::int32_t GetPitch() const;
  // Semitones above the A of 440 Hz, accidental in effect included.
  std::int32_t GetSemitonesFromA() const;

  // Accidentals: the note-scope one written at the note (same position and
  // height); the one in effect at the note; the one in effect just before
  // it (a note-scope accidental at the note's own position not counted).
  TNoteShift* GetNoteShiftWritten() const;
  TNoteShift* GetNoteShiftInEffect() const;
  TNoteShift* GetNoteShiftBefore() const;
  // The kind in effect, natural when there is no accidental.
  std::uint8_t GetNoteShiftKindInEffect() const;
  std::uint8_t GetNoteShiftKindBefore() const;

  // Saves the sounding pitch and accidental; Pop asks the document to give
  // them back after the score around the note changed.
  void Push();
  void Pop();
  bool IsPushed() const { return Pushed; }
  std::int32_t GetPushedPitch() const { return PushedPitch; }
  std::uint8_t GetPushedNoteShift() const { return PushedNoteShift; }

  void SetMark(std::int32_t mark);
  void ClearMark();
  std::int32_t GetMark() const { return Mark; }

  // Plays the note when the document plays edited notes; true otherwise.
  bool AutoPlayNote(double tempo) const;

 private:
  friend class TUnitMuz;
  TNoteShift* FindNoteShift(bool atOwnPosition) const;

  TNoteGroup* NoteGroup;
  TUnitMuz* Unit;
  std::uint8_t LengthKind;
  std::int32_t Points;
  std::int32_t Height;
  std::int32_t Mark = 0;
  std::int32_t PushedPitch = 0;
  std::uint8_t PushedNoteShift = noteShiftNormal;
  bool Pushed = false;
};
