#include "scorebuilder.h"

#include <sstream>
#include <utility>

#include "music/noteplay.h"

ScoreBuilder::ScoreBuilder(std::int32_t countNotes, std::uint8_t noteLength)
    : doc_(std::make_unique<TUnitMuz>("test.tbm")) {
  doc_->InsertSymbol(std::make_unique<TMuzBar>(noteLength, countNotes, 0.0, 0.0));
}

ScoreBuilder&& ScoreBuilder::stave(std::int8_t clef, std::int32_t octaves) {
  TNoteStave* last = doc_->GetStartStave();
  while (last != nullptr && last->GetNext() != nullptr) last = last->GetNext();
  stave_ = doc_->NewStave(last, clef);
  group_ = stave_->GetStartNoteGroup();
  key_ =
      stave_->NearestSymbol(0) != nullptr ? static_cast<TKey*>(stave_->NearestSymbol(0)) : nullptr;
  if (octaves != 0) {
    doc_->RemoveSymbol(key_);
    key_ = static_cast<TKey*>(
        doc_->InsertSymbol(std::make_unique<TKey>(doc_.get(), clef, octaves, 0.0, stave_, 1)));
  }
  return std::move(*this);
}

ScoreBuilder&& ScoreBuilder::key(double position, std::int8_t clef, std::int32_t sequence,
                                 std::int32_t octaves) {
  key_ = static_cast<TKey*>(doc_->InsertSymbol(
      std::make_unique<TKey>(doc_.get(), clef, octaves, position, stave_, sequence)));
  return std::move(*this);
}

ScoreBuilder&& ScoreBuilder::sig(std::uint8_t kind, std::int32_t height) {
  doc_->InsertSymbol(std::make_unique<TNoteShift>(kind, height, key_->GetSymbolPosition(),
                                                  noteShiftScopeKey, stave_,
                                                  key_->GetSequenceNumber()));
  return std::move(*this);
}

ScoreBuilder&& ScoreBuilder::shift(double position, std::int32_t height, std::uint8_t kind) {
  doc_->InsertSymbol(
      std::make_unique<TNoteShift>(kind, height, position, noteShiftScopeNote, stave_, 0));
  return std::move(*this);
}

ScoreBuilder&& ScoreBuilder::note(double position, std::uint8_t length, std::int32_t height,
                                  std::int32_t points) {
  doc_->InsertSymbol(
      std::make_unique<TNoteNote>(doc_.get(), group_, length, points, position, height, stave_));
  return std::move(*this);
}

ScoreBuilder&& ScoreBuilder::rest(double position, std::uint8_t length, std::int32_t points) {
  doc_->InsertSymbol(std::make_unique<TSilence>(length, points, position, stave_));
  return std::move(*this);
}

ScoreBuilder&& ScoreBuilder::group() {
  TNoteGroup* last = stave_->GetStartNoteGroup();
  while (last->GetNext() != nullptr) last = last->GetNext();
  stave_->InsertNoteGroup(
      last, std::make_unique<TNoteGroup>(stave_, NewDefaultCompoundPlayer(doc_.get())));
  group_ = last->GetNext();
  return std::move(*this);
}

namespace {

const char* KindText(std::uint8_t kind) {
  static const char* const texts[] = {"x", "#", "n", "b", "bb"};
  return texts[kind];
}

char ClefText(std::int8_t clef) { return clef == keyKindG ? 'G' : clef == keyKindC ? 'C' : 'F'; }

int StaveNumber(const TUnitMuz& doc, const TNoteStave* stave) {
  int number = 1;
  for (const TNoteStave* s = doc.GetStartStave(); s != stave; s = s->GetNext()) ++number;
  return number;
}

}  // namespace

std::string Chain(const TUnitMuz& doc) {
  std::ostringstream out;
  const bool several = doc.CountStaves() > 1;
  for (const TStaveSymbol* s = doc.GetFirstSymbol(); s != nullptr; s = s->GetNext()) {
    if (s != doc.GetFirstSymbol()) out << ' ';
    if (several && s->GetNoteStave() != nullptr) out << StaveNumber(doc, s->GetNoteStave());
    switch (s->GetStaveSymbolKind()) {
      case staveSymbolKey: {
        const auto* k = static_cast<const TKey*>(s);
        out << "K(" << ClefText(k->GetKeyKind());
        if (k->GetAddOctaves() != 0)
          out << (k->GetAddOctaves() > 0 ? "+" : "") << k->GetAddOctaves();
        out << ',' << k->GetSymbolPosition();
        if (k->GetSequenceNumber() != 1) out << ",#" << k->GetSequenceNumber();
        out << ')';
        break;
      }
      case staveSymbolNoteShift: {
        const auto* a = static_cast<const TNoteShift*>(s);
        if (a->GetNoteShiftScopeKind() == noteShiftScopeKey)
          out << "k(" << KindText(a->GetNoteShiftKind()) << ',' << a->GetHeight() << ')';
        else
          out << "a(" << KindText(a->GetNoteShiftKind()) << ',' << a->GetHeight() << ','
              << a->GetSymbolPosition() << ')';
        break;
      }
      case staveSymbolMuzBar: {
        const auto* b = static_cast<const TMuzBar*>(s);
        out << "B(" << b->GetCountNotes() << '/' << int{b->GetNoteLength()} << ')';
        break;
      }
      case staveSymbolNote: {
        const auto* n = static_cast<const TNoteNote*>(s);
        out << "N(" << int{n->GetLengthKind()} << std::string(n->GetPoints(), '.') << ','
            << n->GetPosition() << ",h" << n->GetHeight() << ')';
        break;
      }
      case staveSilence: {
        const auto* r = static_cast<const TSilence*>(s);
        out << "R(" << int{r->GetNoteLength()} << std::string(r->GetPoints(), '.') << ','
            << r->GetSymbolPosition() << ')';
        break;
      }
    }
  }
  return out.str();
}

std::vector<std::int32_t> Sounding(const TUnitMuz& doc) {
  std::vector<std::int32_t> result;
  for (const TStaveSymbol* s = doc.GetFirstSymbol(); s != nullptr; s = s->GetNext())
    if (s->GetStaveSymbolKind() == staveSymbolNote)
      result.push_back(static_cast<const TNoteNote*>(s)->GetSemitonesFromA());
  return result;
}

TStaveSymbol* SymbolAt(const TUnitMuz& doc, int index) {
  TStaveSymbol* s = doc.GetFirstSymbol();
  while (s != nullptr && index-- > 0) s = s->GetNext();
  return s;
}

TNoteNote* NoteAt(const TUnitMuz& doc, double position, std::int32_t height) {
  for (TStaveSymbol* s = doc.GetFirstSymbol(); s != nullptr; s = s->GetNext())
    if (s->GetStaveSymbolKind() == staveSymbolNote && s->GetSymbolPosition() == position &&
        static_cast<TNoteNote*>(s)->GetHeight() == height)
      return static_cast<TNoteNote*>(s);
  return nullptr;
}

bool PlaybackRecorder::PlayNote(const TNoteNote& note, double tempo) {
  heights.push_back(note.GetHeight());
  tempos.push_back(tempo);
  return true;
}
