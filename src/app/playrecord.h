#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <memory>
#include <optional>

#include "app/mediacommands.h"

class TMainForm;
class TMDIChildTonbrisk;
class QWidget;
class TWaveView;

// Play, Stop, Pause and Record in the main window: their handlers, check
// marks and enabling, and the play-position line in the window being
// played. Lives as a child of the main window.
class TPlayRecord : public QObject {
  Q_OBJECT

 public:
  TPlayRecord(TMainForm& form, std::unique_ptr<TMediaPlayer> player);
  ~TPlayRecord() override;

  // The one of a main window (null before it is installed).
  static TPlayRecord* Of(const TMainForm& form);
  TMediaCommands& Commands() { return Media; }

  // The enabling of the four commands (nothing for other names).
  std::optional<bool> Enabled(const QString& name, TMDIChildTonbrisk* child) const;

 private:
  void FilePlay();
  void FileRecord();
  void ShowChecks();
  void FollowPlayLine();
  void EndPlayLine();

  TMainForm& Form;
  TMediaCommands Media;
  QTimer LineTimer;
  QPointer<TWaveView> PlayedView;
  // The play-position line: a narrow child of the view's client area, so
  // moving it repaints only the columns it leaves and enters.
  QPointer<QWidget> Line;
  std::int32_t PlayBegin = 0;
  std::int32_t PlayEnd = 0;
};

// Makes the main window's play and record commands work on the audio
// system; called once the handler table is there.
void InstallPlayRecord(TMainForm& form);
// The command update's rule for the four commands.
std::optional<bool> MediaCommandEnabled(const TMainForm& form, const QString& name,
                                        TMDIChildTonbrisk* child);
