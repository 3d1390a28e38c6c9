#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <memory>
#include <string>

#include "app/mediaplayer.h"
#include "app/pcmconvert.h"

class QAudioSink;
class QAudioSource;
class QFile;
class TWavPlayDevice;
class TWavRecordDevice;

// The player on Qt Multimedia: plays a wave file through a QAudioSink and
// records through a QAudioSource into a prepared wave file, streaming in
// both directions. Where the device cannot take the file's format, the
// samples are converted on the way, so the sound keeps its pitch and speed
// and the recorded file keeps its format. The devices are looked up only
// when first needed, so a program that never plays never starts the audio
// system.
class TAudioPlayer : public QObject, public TMediaPlayer {
  Q_OBJECT

 public:
  TAudioPlayer();
  ~TAudioPlayer() override;

  bool HasOutputDevice() override;
  bool HasInputDevice() override;
  void SetFileName(const std::string& fileName) override { FileName = fileName; }
  bool Open() override;
  void Close() override;
  void Play() override;
  void Pause() override;
  void Stop() override;
  void StartRecording() override;
  bool Save() override;
  TPlayerMode GetMode() const override { return Mode; }
  bool NotifyArmed() const override { return Armed; }
  std::int64_t PlayedFrames() const override;

  // The format the device was last started with (what the tests look at).
  const TPcmFormat& GetDeviceFormat() const { return DeviceFormat; }

 private:
  void StartPlaying();
  void SinkStateChanged();
  void SourceStateChanged();
  // The sink has taken the last data; the play-back ends once it has been
  // heard, not when it went into the device's buffer.
  void CheckEnd();
  // The armed notification goes out through the event loop.
  void PostNotify();
  void StopDevices();

  std::string FileName;
  TPlayerMode Mode = TPlayerMode::NotReady;
  bool Armed = false;
  // What was paused: a recording or a play-back.
  bool PausedRecording = false;
  TPcmFormat FileFormat;
  TPcmFormat DeviceFormat;
  std::int64_t DataOffset = 0;
  std::int64_t DataBytes = 0;
  std::unique_ptr<QAudioSink> Sink;
  std::unique_ptr<QAudioSource> Source;
  std::unique_ptr<TWavPlayDevice> PlayDevice;
  std::unique_ptr<QFile> RecordFile;
  std::unique_ptr<TWavRecordDevice> RecordDevice;
  // Play-back time: what ran before the last pause, and since.
  QElapsedTimer Running;
  std::int64_t PlayedMs = 0;
  bool DataEnded = false;
  QTimer EndTimer;
};
