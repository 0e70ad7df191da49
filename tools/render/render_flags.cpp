#include "tools/render/render_flags.h"

#include <cstring>

namespace varek {

namespace {

struct RangeFlag {
  const char* name;
  int lowest, highest;
  int RenderSettings::*field;
};
constexpr RangeFlag RangeFlags[] = {
    {"--turn", -180, 180, &RenderSettings::turn},
    {"--side", -180, 0, &RenderSettings::side},
    {"--width", 1, 2, &RenderSettings::width},
};

struct SwitchFlag {
  const char* name;
  bool RenderSettings::*field;
};
constexpr SwitchFlag SwitchFlags[] = {
    {"--coil", &RenderSettings::coil},
    {"--transparent", &RenderSettings::transparent},
};

struct FileFlag {
  const char* name;
  std::string RenderSettings::*field;
};
constexpr FileFlag FileFlags[] = {
    {"--out", &RenderSettings::out},
    {"--signal-out", &RenderSettings::signal_out},
};

// Parses the flag at argv[i] if it is one of varek-render's own; 1 taken,
// 0 not ours, -1 bad value.
int ParseOwnFlag(const char* flag, const char* value, RenderSettings& settings, std::string& error) {
  const std::string missing = value == nullptr ? "missing value" : std::string("invalid value '") + value + "'";
  for (const RangeFlag& f : RangeFlags) {
    if (std::strcmp(flag, f.name) != 0) continue;
    int number = 0;
    if (value == nullptr || !ParsePlainInteger(value, number) || number < f.lowest || number > f.highest) {
      error = std::string(f.name) + ": " + missing + ", expected an integer from " + std::to_string(f.lowest) +
              " to " + std::to_string(f.highest);
      return -1;
    }
    settings.*f.field = number;
    return 1;
  }
  for (const SwitchFlag& f : SwitchFlags) {
    if (std::strcmp(flag, f.name) != 0) continue;
    if (value == nullptr || (std::strcmp(value, "on") != 0 && std::strcmp(value, "off") != 0)) {
      error = std::string(f.name) + ": " + missing + ", expected on or off";
      return -1;
    }
    settings.*f.field = std::strcmp(value, "on") == 0;
    return 1;
  }
  for (const FileFlag& f : FileFlags) {
    if (std::strcmp(flag, f.name) != 0) continue;
    if (value == nullptr || *value == '\0') {
      error = std::string(f.name) + ": missing value, expected a file name";
      return -1;
    }
    settings.*f.field = value;
    return 1;
  }
  return 0;
}

}  // namespace

bool ParseRenderFlags(int argc, const char* const* argv, RenderSettings& settings, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    switch (ParsePathFlag(argc, argv, i, settings.paths, error)) {
      case FlagParse::Taken: continue;
      case FlagParse::Invalid: return false;
      case FlagParse::NotMine: break;
    }
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    const int own = ParseOwnFlag(argv[i], value, settings, error);
    if (own < 0) return false;
    if (own == 0) {
      error = std::string("unknown flag '") + argv[i] + "'";
      return false;
    }
    ++i;
  }
  if (settings.out.empty()) {
    error = "--out: missing, expected the file name of the scene picture";
    return false;
  }
  return true;
}

}  // namespace varek
