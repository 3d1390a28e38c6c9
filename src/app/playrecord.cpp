#include "app/playrecord.h"

#include <QAction>
#include <QPainter>
#include <QWidget>
#include <algorithm>

#include "app/audioplayer.h"
#include "app/mainform.h"
#include "app/waveview.h"
#include "app/wavewindow.h"
#include "documents/unitwave.h"

namespace {

// How often the play-position line moves (about 30 times a second).
constexpr int kLineIntervalMs = 33;
// Red shows on the white background and on the black wave alike.
const QColor kLineColour(220, 30, 30);
constexpr int kLineWidth = 2;

// Paints itself in the line's colour, whatever the style's palette says.
class TPlayLine : public QWidget {
 public:
  using QWidget::QWidget;

 protected:
  void paintEvent(QPaintEvent* /*event*/) override { QPainter(this).fillRect(rect(), kLineColour); }
};

const struct {
  const char* Name;
  TMediaCommand Command;
} kCommands[] = {{"FilePlay", TMediaCommand::Play},
                 {"FileStop", TMediaCommand::Stop},
                 {"FilePause", TMediaCommand::Pause},
                 {"FileRecord", TMediaCommand::Record}};

}  // namespace

TPlayRecord::TPlayRecord(TMainForm& form, std::unique_ptr<TMediaPlayer> player)
    : QObject(&form),
      Form(form),
      Media(std::move(player), form.GetTempDir(), form.GetMediaEnabled()) {
  setObjectName("PlayRecord");
  Media.OnChange = [this] {
    ShowChecks();
    Form.ScheduleUpdate();
  };
  Media.OnRecorded = [this](TUnitWave& unitWave) {
    for (TMDIChildTonbrisk* child : Form.Children()) {
      if (&child->GetUnit() == &unitWave) {
        static_cast<TMDIChildWave*>(child)->GetView().Repaint();
      }
    }
  };
  for (const auto& command : kCommands) {
    QAction* action = Form.Action(command.Name);
    if (command.Command != TMediaCommand::Stop) action->setCheckable(true);
    // A triggered action toggles its own check: the state decides it.
    connect(action, &QAction::triggered, this, &TPlayRecord::ShowChecks, Qt::QueuedConnection);
  }
  Form.AddHandler("FilePlay", [this] { FilePlay(); });
  Form.AddHandler("FileStop", [this] { Media.Stop(); });
  Form.AddHandler("FilePause", [this] { Media.Pause(); });
  Form.AddHandler("FileRecord", [this] { FileRecord(); });
  LineTimer.setInterval(kLineIntervalMs);
  connect(&LineTimer, &QTimer::timeout, this, &TPlayRecord::FollowPlayLine);
  ShowChecks();
}

TPlayRecord::~TPlayRecord() { EndPlayLine(); }

TPlayRecord* TPlayRecord::Of(const TMainForm& form) {
  return form.findChild<TPlayRecord*>("PlayRecord", Qt::FindDirectChildrenOnly);
}

void TPlayRecord::FilePlay() {
  // The action checked itself when triggered: undone before any message.
  ShowChecks();
  auto* child = static_cast<TMDIChildWave*>(Form.GetActiveWaveWindow());
  if (child == nullptr) return;
  TUnitWave& unitWave = child->GetUnitWave();
  EndPlayLine();
  Media.Play(unitWave);
  if (!Media.IsPlaying()) return;
  PlayedView = &child->GetView();
  Line = new TPlayLine(PlayedView->viewport());
  Line->setAttribute(Qt::WA_TransparentForMouseEvents);
  PlayBegin = unitWave.GetSelBegin();
  PlayEnd = unitWave.GetSelEnd();
  LineTimer.start();
}

void TPlayRecord::FileRecord() {
  ShowChecks();
  auto* child = static_cast<TMDIChildWave*>(Form.GetActiveWaveWindow());
  if (child == nullptr) return;
  Media.Record(child->GetUnitWave());
  // A recording into a document that closes ends without a result; the
  // view goes before its document does.
  TUnit* unit = &child->GetUnit();
  connect(&child->GetView(), &QObject::destroyed, this, [this, unit] { Media.UnitClosing(unit); });
}

void TPlayRecord::ShowChecks() {
  for (const auto& command : kCommands) {
    if (command.Command == TMediaCommand::Stop) continue;
    Form.Action(command.Name)->setChecked(Media.Checked(command.Command));
  }
  if (!Media.IsPlaying()) EndPlayLine();
}

void TPlayRecord::FollowPlayLine() {
  if (PlayedView == nullptr || Line == nullptr || !Media.IsPlaying()) {
    EndPlayLine();
    return;
  }
  // Waiting for Pause: the line stands at the start.
  const std::int64_t played = Media.GetPlayPending() ? 0 : Media.GetPlayer().PlayedFrames();
  const double position = static_cast<double>(std::min<std::int64_t>(PlayBegin + played, PlayEnd));
  const int x = PlayedView->PositionToPixel(position);
  const int height = PlayedView->viewport()->height();
  // Outside the visible part (a zoomed view) the line waits at the edge.
  Line->setGeometry(std::clamp(x, 0, std::max(PlayedView->viewport()->width() - kLineWidth, 0)), 0,
                    kLineWidth, height);
  Line->setVisible(x >= 0 && x < PlayedView->viewport()->width());
}

void TPlayRecord::EndPlayLine() {
  LineTimer.stop();
  delete Line.data();
  PlayedView = nullptr;
}

std::optional<bool> TPlayRecord::Enabled(const QString& name, TMDIChildTonbrisk* child) const {
  for (const auto& command : kCommands) {
    if (name != command.Name) continue;
    const bool wave = child != nullptr && child->GetKind() == kUnitKindWave;
    const auto* unitWave = wave ? static_cast<const TUnitWave*>(&child->GetUnit()) : nullptr;
    // A score plays once its rendering is wired to PlayRange.
    return Media.Enabled(command.Command, unitWave, false);
  }
  return std::nullopt;
}

void InstallPlayRecord(TMainForm& form) { new TPlayRecord(form, std::make_unique<TAudioPlayer>()); }

std::optional<bool> MediaCommandEnabled(const TMainForm& form, const QString& name,
                                        TMDIChildTonbrisk* child) {
  const TPlayRecord* playRecord = TPlayRecord::Of(form);
  return playRecord != nullptr ? playRecord->Enabled(name, child) : std::nullopt;
}
