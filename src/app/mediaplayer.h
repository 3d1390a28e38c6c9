#pragma once

#include <cstdint>
#include <functional>
#include <string>

// The player's modes, numbered as the program has always numbered them.
enum class TPlayerMode : std::uint8_t {
  NotReady = 0,  // no file open
  Stopped = 1,   // a file open, nothing running
  Playing = 2,
  Recording = 3,
  Seeking = 4,
  Paused = 5,
  Open = 6,
};

// The one player of the application: plays a wave file, or records into a
// prepared (empty) wave file in that file's format. Everything is called on
// the user-interface thread.
//
// Every Play and StartRecording arms one end notification (`OnNotify`). It is
// delivered later from the event loop, never from inside a call: when the
// play-back reaches its end, or when whatever runs is cut off by Pause, Stop,
// Close or another Play. The receiver reads the mode to tell which.
class TMediaPlayer {
 public:
  virtual ~TMediaPlayer() = default;

  // Whether there is a device to play on or to record from; asked before a
  // file is opened.
  virtual bool HasOutputDevice() = 0;
  virtual bool HasInputDevice() = 0;

  virtual void SetFileName(const std::string& fileName) = 0;
  // Opens the file for play-back or, when it holds no values, for
  // recording; false when the file cannot be used (the mode stays NotReady).
  virtual bool Open() = 0;
  virtual void Close() = 0;
  // Starts play-back from the beginning, or resumes what was paused.
  virtual void Play() = 0;
  virtual void Pause() = 0;
  virtual void Stop() = 0;
  virtual void StartRecording() = 0;
  // Writes the recording into the open file, its header completed; waits
  // until it is written. False when the file could not be written.
  virtual bool Save() = 0;
  virtual TPlayerMode GetMode() const = 0;
  // A Play or StartRecording whose notification has not been sent yet.
  virtual bool NotifyArmed() const = 0;
  // Frames of the open file played so far (for the play-position line).
  virtual std::int64_t PlayedFrames() const = 0;

  std::function<void()> OnNotify;
};
