#include "app/audioplayer.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QAudioSource>
#include <QFile>
#include <QIODevice>
#include <QMediaDevices>
#include <QMetaObject>
#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace {

constexpr std::int64_t kChunkBytes = 16384;
// A wave file's sizes are 32-bit: the data stop growing well before.
constexpr std::int64_t kMaxDataBytes = 0x7FFF0000;

std::uint32_t Le32(const char* p) {
  const auto* b = reinterpret_cast<const unsigned char*>(p);
  return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}
std::uint16_t Le16(const char* p) {
  const auto* b = reinterpret_cast<const unsigned char*>(p);
  return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}
void PutLe32(QFile& file, std::int64_t at, std::uint32_t value) {
  const std::array<char, 4> bytes = {
      static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF),
      static_cast<char>((value >> 16) & 0xFF), static_cast<char>((value >> 24) & 0xFF)};
  file.seek(at);
  file.write(bytes.data(), 4);
}

// The format and the place of the samples of a PCM wave file with 8 or 16
// bits and one or two channels.
bool ReadHeader(QFile& file, TPcmFormat& format, std::int64_t& dataOffset,
                std::int64_t& dataBytes) {
  char riff[12];
  if (file.read(riff, 12) != 12 || std::memcmp(riff, "RIFF", 4) != 0 ||
      std::memcmp(riff + 8, "WAVE", 4) != 0) {
    return false;
  }
  bool haveFormat = false;
  char chunk[8];
  while (file.read(chunk, 8) == 8) {
    const std::int64_t size = Le32(chunk + 4);
    if (std::memcmp(chunk, "fmt ", 4) == 0) {
      char fmt[16];
      if (size < 16 || file.read(fmt, 16) != 16) return false;
      const int bits = Le16(fmt + 14);
      format.Channels = Le16(fmt + 2);
      format.Rate = static_cast<std::int32_t>(Le32(fmt + 4));
      format.Bytes = bits / 8;
      if (Le16(fmt) != 1 || (format.Channels != 1 && format.Channels != 2) || format.Rate <= 0 ||
          (bits != 8 && bits != 16)) {
        return false;
      }
      haveFormat = true;
      if (!file.seek(file.pos() + size - 16 + (size & 1))) return false;
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      if (!haveFormat) return false;
      dataOffset = file.pos();
      // A file cut short plays what it holds.
      dataBytes = std::min<std::int64_t>(size, file.size() - dataOffset);
      dataBytes -= dataBytes % format.FrameBytes();
      return true;
    } else if (!file.seek(file.pos() + size + (size & 1))) {
      return false;
    }
  }
  return false;
}

QAudioFormat ToQt(const TPcmFormat& format) {
  QAudioFormat qt;
  qt.setSampleRate(format.Rate);
  qt.setChannelCount(format.Channels);
  qt.setSampleFormat(format.Bytes == 1   ? QAudioFormat::UInt8
                     : format.Bytes == 2 ? QAudioFormat::Int16
                                         : QAudioFormat::Float);
  return qt;
}

// The file's own format when the device takes it; otherwise the nearest
// that it does take, 16 bits first.
TPcmFormat DeviceFormatFor(const QAudioDevice& device, const TPcmFormat& file) {
  const QAudioFormat preferred = device.preferredFormat();
  const std::int32_t rate = preferred.sampleRate() > 0 ? preferred.sampleRate() : 44100;
  const int channels = preferred.channelCount() == 1 ? 1 : 2;
  const std::array<TPcmFormat, 6> candidates = {{{file.Channels, file.Rate, file.Bytes},
                                                 {file.Channels, file.Rate, 2},
                                                 {file.Channels, rate, 2},
                                                 {channels, rate, 2},
                                                 {file.Channels, rate, 4},
                                                 {channels, rate, 4}}};
  for (const TPcmFormat& candidate : candidates) {
    if (device.isFormatSupported(ToQt(candidate))) return candidate;
  }
  return {channels, rate, 2};
}

}  // namespace

// Reads the samples of a wave file in the device's format, a piece at a
// time as the sink asks for them.
class TWavPlayDevice : public QIODevice {
 public:
  TWavPlayDevice(const QString& fileName, std::int64_t offset, std::int64_t bytes,
                 const TPcmFormat& from, const TPcmFormat& to)
      : File(fileName), Remaining(bytes), Converter(from, to) {
    if (File.open(QIODevice::ReadOnly) && File.seek(offset)) open(QIODevice::ReadOnly);
  }
  bool isSequential() const override { return true; }
  bool atEnd() const override { return Ended && At == Pending.size(); }
  qint64 bytesAvailable() const override {
    return static_cast<qint64>(Pending.size() - At) + (Ended ? 0 : kChunkBytes) +
           QIODevice::bytesAvailable();
  }

 protected:
  qint64 readData(char* data, qint64 maxSize) override {
    std::vector<char> piece;
    while (!Ended && static_cast<qint64>(Pending.size() - At) < maxSize) {
      piece.resize(static_cast<std::size_t>(std::min(Remaining, kChunkBytes)));
      const qint64 got = piece.empty() ? 0 : File.read(piece.data(), piece.size());
      if (got > 0) {
        Remaining -= got;
        Converter.Convert(reinterpret_cast<const std::uint8_t*>(piece.data()),
                          static_cast<std::size_t>(got), Pending);
      } else {
        Converter.Flush(Pending);
        Ended = true;
      }
    }
    const std::size_t count =
        std::min(static_cast<std::size_t>(maxSize), static_cast<std::size_t>(Pending.size() - At));
    std::memcpy(data, Pending.data() + At, count);
    At += count;
    if (At > kChunkBytes && At * 2 > Pending.size()) {
      Pending.erase(Pending.begin(), Pending.begin() + static_cast<std::ptrdiff_t>(At));
      At = 0;
    }
    return static_cast<qint64>(count);
  }
  qint64 writeData(const char*, qint64) override { return -1; }

 private:
  QFile File;
  std::int64_t Remaining;
  TPcmConverter Converter;
  std::vector<std::uint8_t> Pending;
  std::size_t At = 0;
  bool Ended = false;
};

// Takes what the source records, in the device's format, and appends it to
// the record file in the file's format.
class TWavRecordDevice : public QIODevice {
 public:
  TWavRecordDevice(QFile& file, const TPcmFormat& from, const TPcmFormat& to)
      : File(file), Converter(from, to) {
    open(QIODevice::WriteOnly);
  }
  bool isSequential() const override { return true; }
  std::int64_t Written() const { return Bytes; }
  void Finish() {
    Out.clear();
    Converter.Flush(Out);
    Append();
  }

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 size) override {
    Out.clear();
    Converter.Convert(reinterpret_cast<const std::uint8_t*>(data), static_cast<std::size_t>(size),
                      Out);
    Append();
    return size;
  }

 private:
  void Append() {
    const std::int64_t room = std::max<std::int64_t>(kMaxDataBytes - Bytes, 0);
    const std::int64_t count = std::min(static_cast<std::int64_t>(Out.size()), room);
    if (count > 0 && File.write(reinterpret_cast<const char*>(Out.data()), count) == count) {
      Bytes += count;
    }
  }

  QFile& File;
  TPcmConverter Converter;
  std::vector<std::uint8_t> Out;
  std::int64_t Bytes = 0;
};

TAudioPlayer::TAudioPlayer() {
  EndTimer.setSingleShot(true);
  connect(&EndTimer, &QTimer::timeout, this, &TAudioPlayer::CheckEnd);
}

TAudioPlayer::~TAudioPlayer() {
  Armed = false;
  Close();
}

bool TAudioPlayer::HasOutputDevice() { return !QMediaDevices::defaultAudioOutput().isNull(); }

bool TAudioPlayer::HasInputDevice() { return !QMediaDevices::defaultAudioInput().isNull(); }

void TAudioPlayer::PostNotify() {
  if (!Armed) return;
  Armed = false;
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (OnNotify) OnNotify();
      },
      Qt::QueuedConnection);
}

bool TAudioPlayer::Open() {
  Close();
  QFile file(QString::fromStdString(FileName));
  if (!file.open(QIODevice::ReadOnly) || !ReadHeader(file, FileFormat, DataOffset, DataBytes)) {
    return false;
  }
  Mode = TPlayerMode::Stopped;
  return true;
}

void TAudioPlayer::StopDevices() {
  EndTimer.stop();
  DataEnded = false;
  if (Sink) {
    Sink->disconnect(this);
    Sink->stop();
  }
  if (Source) {
    Source->disconnect(this);
    Source->stop();
  }
  Sink.reset();
  Source.reset();
  PlayDevice.reset();
}

void TAudioPlayer::Close() {
  PostNotify();
  StopDevices();
  RecordDevice.reset();
  RecordFile.reset();
  Mode = TPlayerMode::NotReady;
  PlayedMs = 0;
  Running.invalidate();
}

void TAudioPlayer::StartPlaying() {
  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  DeviceFormat = DeviceFormatFor(device, FileFormat);
  PlayDevice = std::make_unique<TWavPlayDevice>(QString::fromStdString(FileName), DataOffset,
                                                DataBytes, FileFormat, DeviceFormat);
  Sink = std::make_unique<QAudioSink>(device, ToQt(DeviceFormat));
  connect(Sink.get(), &QAudioSink::stateChanged, this, &TAudioPlayer::SinkStateChanged);
  PlayedMs = 0;
  DataEnded = false;
  Running.start();
  Mode = TPlayerMode::Playing;
  if (PlayDevice->isOpen()) {
    Sink->start(PlayDevice.get());
  } else {
    // The file went away since it was opened: the play-back ends at once.
    Mode = TPlayerMode::Stopped;
    Armed = true;
    PostNotify();
  }
}

void TAudioPlayer::Play() {
  switch (Mode) {
    case TPlayerMode::Paused:
      if (PausedRecording) {
        Source->resume();
        Mode = TPlayerMode::Recording;
      } else {
        Sink->resume();
        Running.start();
        Mode = TPlayerMode::Playing;
      }
      Armed = true;
      CheckEnd();
      break;
    case TPlayerMode::Stopped:
      StopDevices();
      Armed = true;
      StartPlaying();
      break;
    default:
      break;
  }
}

void TAudioPlayer::SinkStateChanged() {
  if (!Sink || Mode != TPlayerMode::Playing) return;
  const QAudio::State state = Sink->state();
  // Idle with data still to come is an underrun: the sink goes on.
  const bool ended = (state == QAudio::IdleState && PlayDevice->atEnd()) ||
                     (state == QAudio::StoppedState && Sink->error() != QAudio::NoError);
  if (!ended) return;
  DataEnded = true;
  CheckEnd();
}

void TAudioPlayer::CheckEnd() {
  if (!DataEnded || Mode != TPlayerMode::Playing) return;
  const std::int64_t frames = DataBytes / std::max(FileFormat.FrameBytes(), 1);
  const std::int64_t remaining =
      frames * 1000 / FileFormat.Rate - PlayedMs - (Running.isValid() ? Running.elapsed() : 0);
  if (remaining > 0) {
    EndTimer.start(static_cast<int>(std::min<std::int64_t>(remaining, 1000)));
    return;
  }
  if (Running.isValid()) PlayedMs += Running.elapsed();
  Running.invalidate();
  Mode = TPlayerMode::Stopped;
  if (Sink) Sink->stop();
  PostNotify();
}

void TAudioPlayer::SourceStateChanged() {
  if (!Source || Mode != TPlayerMode::Recording) return;
  // A device that fails ends the recording; what came so far is kept.
  if (Source->state() == QAudio::StoppedState && Source->error() != QAudio::NoError) {
    Mode = TPlayerMode::Stopped;
    PostNotify();
  }
}

void TAudioPlayer::Pause() {
  if (Mode == TPlayerMode::Playing) {
    EndTimer.stop();
    Sink->suspend();
    PlayedMs += Running.elapsed();
    Running.invalidate();
    PausedRecording = false;
  } else if (Mode == TPlayerMode::Recording) {
    Source->suspend();
    PausedRecording = true;
  } else {
    return;
  }
  Mode = TPlayerMode::Paused;
  PostNotify();
}

void TAudioPlayer::Stop() {
  PostNotify();
  EndTimer.stop();
  if (Mode == TPlayerMode::NotReady) return;
  // The devices stay until Close: Save still needs the recording's end.
  if (Source) {
    Source->disconnect(this);
    Source->stop();
  }
  if (Sink) {
    Sink->disconnect(this);
    Sink->stop();
  }
  if (Running.isValid()) PlayedMs += Running.elapsed();
  Running.invalidate();
  Mode = TPlayerMode::Stopped;
}

void TAudioPlayer::StartRecording() {
  if (Mode != TPlayerMode::Stopped) return;
  StopDevices();
  RecordDevice.reset();
  RecordFile = std::make_unique<QFile>(QString::fromStdString(FileName));
  // The prepared file ends with its header: what is recorded follows it.
  if (!RecordFile->open(QIODevice::ReadWrite) || !RecordFile->resize(DataOffset) ||
      !RecordFile->seek(DataOffset)) {
    RecordFile.reset();
    return;
  }
  const QAudioDevice device = QMediaDevices::defaultAudioInput();
  DeviceFormat = DeviceFormatFor(device, FileFormat);
  RecordDevice = std::make_unique<TWavRecordDevice>(*RecordFile, DeviceFormat, FileFormat);
  Source = std::make_unique<QAudioSource>(device, ToQt(DeviceFormat));
  connect(Source.get(), &QAudioSource::stateChanged, this, &TAudioPlayer::SourceStateChanged);
  // Small pieces (a twentieth of a second): a source asked for none
  // may hand over seconds at once.
  Source->setBufferSize(std::max(DeviceFormat.FrameBytes() * DeviceFormat.Rate / 20, 1024));
  Armed = true;
  Mode = TPlayerMode::Recording;
  Source->start(RecordDevice.get());
}

bool TAudioPlayer::Save() {
  if (!RecordFile || !RecordDevice) return false;
  if (Source) Source->stop();
  RecordDevice->Finish();
  const std::int64_t bytes = RecordDevice->Written();
  PutLe32(*RecordFile, DataOffset - 4, static_cast<std::uint32_t>(bytes));
  PutLe32(*RecordFile, 4, static_cast<std::uint32_t>(DataOffset + bytes - 8));
  return RecordFile->flush() && RecordFile->error() == QFileDevice::NoError;
}

std::int64_t TAudioPlayer::PlayedFrames() const {
  const std::int64_t ms = PlayedMs + (Running.isValid() ? Running.elapsed() : 0);
  const std::int64_t frames = ms * FileFormat.Rate / 1000;
  return std::min(frames, DataBytes / std::max(FileFormat.FrameBytes(), 1));
}
