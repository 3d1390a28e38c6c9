#include "music/noteplay.h"

#include <utility>

TOnePlayer::TOnePlayer(TUnitMuz* owner, const TOnePlayerProps& props)
    : Owner(owner), Props(props) {}

TOnePlayer::~TOnePlayer() {
  // Unlinks the rest iteratively, so a long list does not recurse.
  std::unique_ptr<TOnePlayer> rest = std::move(Next);
  while (rest != nullptr) rest = std::move(rest->Next);
}

std::unique_ptr<TOnePlayer> TOnePlayer::SetNext(std::unique_ptr<TOnePlayer> next) {
  std::swap(Next, next);
  return next;
}

TCompoundPlayer::~TCompoundPlayer() = default;

void TCompoundPlayer::AppendPlayer(std::unique_ptr<TOnePlayer> player) {
  TOnePlayer* added = player.get();
  if (StartOnePlayer == nullptr) {
    StartOnePlayer = std::move(player);
  } else {
    TOnePlayer* last = StartOnePlayer.get();
    while (last->GetNext() != nullptr) last = last->GetNext();
    last->SetNext(std::move(player));
  }
  if (CurrentPlayer == nullptr) CurrentPlayer = added;
}

std::int32_t TCompoundPlayer::CountPlayers() const {
  std::int32_t count = 0;
  for (const TOnePlayer* p = StartOnePlayer.get(); p != nullptr; p = p->GetNext()) ++count;
  return count;
}

std::unique_ptr<TCompoundPlayer> NewDefaultCompoundPlayer(TUnitMuz* owner) {
  TOnePlayerProps props;
  props.RollOutSampler.BasicFreq = unitTimePosMore(0.001, kUnitKHz);
  props.NotePlayerKind = notePlayerRollOutSampler;
  auto compound = std::make_unique<TCompoundPlayer>(owner);
  compound->AppendPlayer(std::make_unique<TOnePlayer>(owner, props));
  return compound;
}
