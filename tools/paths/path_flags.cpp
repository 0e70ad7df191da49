#include "tools/paths/path_flags.h"

#include <charconv>
#include <cstring>

namespace varek {

namespace {

struct IntFlag {
  const char* name;
  int lowest, highest;
  int PathSettings::*field;
};

constexpr IntFlag IntFlags[] = {
    {"--voltage", 50, 2000, &PathSettings::voltage},
    {"--current", 0, 3000, &PathSettings::current},
    {"--amplitude", 0, 300, &PathSettings::amplitude},
};

struct ChoiceFlag {
  const char* name;
  const char* when_true;
  const char* when_false;
  bool PathSettings::*field;
};

constexpr ChoiceFlag ChoiceFlags[] = {
    {"--deflection", "on", "off", &PathSettings::deflection},
    {"--mode", "ac", "dc", &PathSettings::alternating},
};

std::string IntRange(const IntFlag& flag) {
  return "an integer from " + std::to_string(flag.lowest) + " to " + std::to_string(flag.highest);
}

}  // namespace

bool ParsePlainInteger(const char* text, int& value) {
  const char* end = text + std::strlen(text);
  const char* digits = *text == '-' ? text + 1 : text;
  if (digits == end || *digits < '0' || *digits > '9') return false;
  const auto [stop, status] = std::from_chars(text, end, value);
  return status == std::errc() && stop == end;
}

FlagParse ParsePathFlag(int argc, const char* const* argv, int& i, PathSettings& settings,
                        std::string& error) {
  const char* arg = argv[i];
  const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
  for (const IntFlag& flag : IntFlags) {
    if (std::strcmp(arg, flag.name) != 0) continue;
    int number = 0;
    if (value == nullptr) {
      error = std::string(flag.name) + ": missing value, expected " + IntRange(flag);
      return FlagParse::Invalid;
    }
    if (!ParsePlainInteger(value, number) || number < flag.lowest || number > flag.highest) {
      error = std::string(flag.name) + ": invalid value '" + value + "', expected " +
              IntRange(flag);
      return FlagParse::Invalid;
    }
    settings.*flag.field = number;
    ++i;
    return FlagParse::Taken;
  }
  for (const ChoiceFlag& flag : ChoiceFlags) {
    if (std::strcmp(arg, flag.name) != 0) continue;
    const std::string allowed = std::string(flag.when_true) + " or " + flag.when_false;
    if (value == nullptr) {
      error = std::string(flag.name) + ": missing value, expected " + allowed;
      return FlagParse::Invalid;
    }
    if (std::strcmp(value, flag.when_true) == 0) {
      settings.*flag.field = true;
    } else if (std::strcmp(value, flag.when_false) == 0) {
      settings.*flag.field = false;
    } else {
      error = std::string(flag.name) + ": invalid value '" + value + "', expected " + allowed;
      return FlagParse::Invalid;
    }
    ++i;
    return FlagParse::Taken;
  }
  return FlagParse::NotMine;
}

PlainControls ControlsFor(const PathSettings& settings) {
  PlainControls controls;
  controls.voltage = settings.voltage;
  controls.current = settings.current;
  controls.deflection_on = settings.deflection;
  controls.steady = !settings.alternating;
  controls.amplitude = settings.amplitude;
  return controls;
}

}  // namespace varek
