#include "base/userinterface.h"
#include "cli/cli.h"
#include "documents/unit.h"
#include "sound/wavfile.h"

bool LoadSound(const std::string& path, std::unique_ptr<Sound>& sound) {
  std::string message;
  if (ReadWavFile(path, sound, message)) return true;
  // The reader's message follows the quoted name without a separator.
  ShowMessage("File Error", "Cannot read the file: \"" + path + "\"" + message,
              MessageIcon::Information);
  return false;
}

bool SaveSound(const Sound& sound, const std::string& path) {
  bool failed = false;
  if (sound.Save(failed, path, false, 0, sound.GetValues())) return true;
  ShowCannotWrite(path);
  return false;
}
