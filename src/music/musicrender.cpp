#include "music/musicrender.h"

#include <algorithm>
#include <string>

#include "base/userinterface.h"
#include "music/muznote.h"
#include "music/noteplay.h"
#include "music/stave.h"
#include "sound/sound.h"

namespace {

TNoteNote* FirstNote(const TUnitMuz& unit) {
  for (TStaveSymbol* symbol = unit.GetFirstSymbol(); symbol != nullptr;
       symbol = symbol->GetNext()) {
    if (symbol->GetStaveSymbolKind() == staveSymbolNote) return static_cast<TNoteNote*>(symbol);
  }
  return nullptr;
}

std::unique_ptr<Sound> EmptySoundOf(const TUnitMuz& unit) {
  if (unit.GetMonoStereo() == 1) {
    return std::make_unique<MonoSound>(unit.GetFrequency(), unit.GetBytesPSample());
  }
  return std::make_unique<StereoSound>(unit.GetFrequency(), unit.GetBytesPSample());
}

void ReportFailure(const std::string& error) {
  ShowMessage("Error", "Cannot create music: " + error, MessageIcon::Information);
}

// `passes` tells which notes sound; every note counts for the length.
template <class Filter>
std::unique_ptr<Sound> Render(const TUnitMuz& unit, Filter passes) {
  bool failed = false;
  bool ok = true;
  std::string error;
  TNoteNote* first = FirstNote(unit);
  if (first == nullptr) return EmptySoundOf(unit);
  const double tempo = unit.Tempo.GetValue();

  // Sizing from the offsets alone, over every note: the output spans the
  // whole score whatever is filtered or muted.
  double lead = 0;
  double tail = 0;
  for (const TNoteNote* note = first; note != nullptr; note = note->GetNextNote()) {
    const TCompoundPlayer& player = *note->GetPlayer();
    const double pre =
        player.GetStartOffset(note->GetPeriod(), note->GetNoteLength(), tempo, ok, error);
    if (!ok) break;
    const double post =
        player.GetEndOffset(note->GetPeriod(), note->GetNoteLength(), tempo, ok, error);
    if (!ok) break;
    lead = std::max(lead, pre - note->GetStart() * tempo);
    tail = std::max(tail, post + note->GetStart() * tempo);
  }
  if (!ok) {
    ReportFailure(error);
    return nullptr;
  }

  std::unique_ptr<Sound> result;
  {
    const std::unique_ptr<Sound> empty = EmptySoundOf(unit);
    std::int32_t begin = 0;
    std::int32_t end = 0;
    result = empty->Silence(failed, lead + tail, begin, end);
  }
  if (result == nullptr) return nullptr;

  for (const TNoteNote* note = first; note != nullptr; note = note->GetNextNote()) {
    if (!passes(*note)) continue;
    const TCompoundPlayer& player = *note->GetPlayer();
    double volume = 1.0;
    const std::unique_ptr<Sound> sound =
        player.GetSound(failed, note->GetPeriod(), note->GetNoteLength(), tempo, volume, ok, error);
    if (!ok) break;
    const double pre =
        player.GetStartOffset(note->GetPeriod(), note->GetNoteLength(), tempo, ok, error);
    if (!ok) break;
    if (sound != nullptr && !failed) {
      // Rounding may leave a hair below zero where a note defines the lead.
      const double at = std::max(0.0, lead - pre + note->GetStart() * tempo);
      result->MixAfterSeconds(failed, *sound, at, volume);
    }
  }
  if (!ok) {
    result.reset();
    ReportFailure(error);
    return nullptr;
  }
  return result;
}

}  // namespace

std::unique_ptr<Sound> CreateMusic(const TUnitMuz& unit) {
  return Render(unit, [](const TNoteNote& note) { return !note.IsMuted(); });
}

std::unique_ptr<Sound> CreateMusicOfStave(const TUnitMuz& unit, const TNoteStave& stave) {
  return Render(unit, [&](const TNoteNote& note) { return note.GetNoteStave() == &stave; });
}

std::unique_ptr<Sound> CreateMusicOfNoteGroup(const TUnitMuz& unit, const TNoteGroup& noteGroup) {
  return Render(unit, [&](const TNoteNote& note) { return note.GetNoteGroup() == &noteGroup; });
}

bool PlayNote(const TNoteNote& note, double tempo, TSoundPlayer& player) {
  bool failed = false;
  bool ok = true;
  std::string error;
  double volume = 1.0;
  const std::unique_ptr<Sound> sound = note.GetPlayer()->GetSound(
      failed, note.GetPeriod(), note.GetNoteLength(), tempo, volume, ok, error);
  if (ok && sound != nullptr && !failed && sound->GetValues() > 0) {
    sound->VolumeInPlace(failed, volume, 0, sound->GetValues());
    if (!failed) player.Play(*sound);
  }
  return ok;
}

bool AutoPlayNote(const TNoteNote& note, double tempo, TSoundPlayer& player) {
  if (!note.GetUnit()->GetAutoPlay()) return true;
  return PlayNote(note, tempo, player);
}

bool TRenderedNotePlayback::PlayNote(const TNoteNote& note, double tempo) {
  return ::PlayNote(note, tempo, Player);
}
