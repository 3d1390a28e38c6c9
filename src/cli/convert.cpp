#include <limits>

#include "base/userinterface.h"
#include "cli/cli.h"
#include "sound/format.h"

namespace {

constexpr std::int64_t kMaxInt32 = std::numeric_limits<std::int32_t>::max();

struct ConvertArguments {
  std::string in;
  std::string out;
  TargetFormat target;
};

// Fills `parsed`; on a mistake returns the problem text.
std::string ParseConvert(const Arguments& args, ConvertArguments& parsed) {
  std::vector<std::string> files;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!arg.starts_with("--")) {
      files.push_back(arg);
      continue;
    }
    std::string name = arg;
    std::string value;
    const std::size_t equals = arg.find('=');
    if (equals != std::string::npos) {
      name = arg.substr(0, equals);
      value = arg.substr(equals + 1);
    } else if (name == "--frequency" || name == "--channels" || name == "--bits") {
      if (i + 1 == args.size()) return name + " needs a value";
      value = args[++i];
    }
    std::int64_t number = 0;
    if (name == "--frequency") {
      if (!ParseInteger(value, 1, kMaxInt32, number)) {
        return "--frequency must be a whole number of Hz from 1 to 2147483647";
      }
      parsed.target.frequency = static_cast<std::int32_t>(number);
    } else if (name == "--channels") {
      if (!ParseInteger(value, 1, 2, number)) return "--channels must be 1 or 2";
      parsed.target.channels = static_cast<int>(number);
    } else if (name == "--bits") {
      if (!ParseInteger(value, 8, 16, number) || (number != 8 && number != 16)) {
        return "--bits must be 8 or 16";
      }
      parsed.target.bits = static_cast<int>(number);
    } else {
      return "unknown option \"" + name + "\"";
    }
  }
  if (files.size() != 2) return "convert takes an input and an output file name";
  parsed.in = files[0];
  parsed.out = files[1];
  return {};
}

}  // namespace

std::unique_ptr<Sound> ConvertSound(bool& failed, std::unique_ptr<Sound> sound,
                                    const TargetFormat& target) {
  // 0 keeps the source's value.
  const SoundFormat format{
      target.frequency != 0 ? target.frequency : sound->GetFreq(),
      static_cast<std::int16_t>(target.channels != 0 ? target.channels : sound->GetMoSt()),
      static_cast<std::int16_t>(target.bits != 0 ? target.bits / 8 : sound->GetBytesPSample())};
  return ConvertFormat(failed, std::move(sound), format);
}

int RunConvert(const Arguments& args) {
  ConvertArguments parsed;
  const std::string problem = ParseConvert(args, parsed);
  if (!problem.empty()) return UsageError(FindCommand("convert"), problem);

  std::unique_ptr<Sound> sound;
  if (const int code = LoadSoundCode(parsed.in, sound); code != kExitOk) return code;
  const TargetFormat& target = parsed.target;
  // What the options ask for is checked before any work: a value the result
  // cannot take is an input error.
  std::int64_t values = sound->GetValues();
  if (target.frequency != 0) {
    // A wave holds at most 2^31 - 1 values.
    const double exact =
        static_cast<double>(sound->GetValues()) * target.frequency / sound->GetFreq();
    if (exact > static_cast<double>(kMaxInt32)) {
      ShowMessage("Input Error", "The converted sound would hold more than 2147483647 values.",
                  MessageIcon::Information);
      return kExitInput;
    }
    values = static_cast<std::int64_t>(exact);
  }
  const int channels = target.channels != 0 ? target.channels : sound->GetMoSt();
  const int bytes = target.bits != 0 ? target.bits / 8 : sound->GetBytesPSample();
  const std::int64_t freq = target.frequency != 0 ? target.frequency : sound->GetFreq();
  if (!CheckFitsWavFile(channels, bytes, freq, values)) return kExitInput;
  bool failed = false;
  StartOperation();
  std::unique_ptr<Sound> converted = ConvertSound(failed, std::move(sound), target);
  if (failed || !converted) return kExitFailed;  // the memory message has been shown
  return SaveSound(*converted, parsed.out) ? kExitOk : kExitFailure;
}
