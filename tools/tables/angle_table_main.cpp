// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// varek-angle-table OUTPUT.cpp: runs the model's start-up and its view
// rotation for every position of the two view scroll bars with a recording
// Sin and Cos, and writes every angle met, with its x87 sine and cosine, as
// the rows of the angle table (model/angle_table.h).
#include <cmath>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>

#include "model/angle_table.h"
#include "model/model.h"

namespace varek {

namespace {

struct BitsOrder {
  bool operator()(const SoftExtended::Bits& a, const SoftExtended::Bits& b) const {
    return BitsBefore(a, b);
  }
};
std::set<SoftExtended::Bits, BitsOrder> angles;

SoftExtended::Bits BitsOf(long double value) {
  SoftExtended::Bits bits;
  std::memcpy(&bits.significand, &value, 8);
  std::memcpy(&bits.sign_exponent, reinterpret_cast<const char*>(&value) + 8, 2);
  return bits;
}

long double ValueOf(const SoftExtended::Bits& bits) {
  long double value = 0;
  std::memcpy(&value, &bits.significand, 8);
  std::memcpy(reinterpret_cast<char*>(&value) + 8, &bits.sign_exponent, 2);
  return value;
}

// The row of an angle: the three significands, then the three sign-and-exponent fields.
std::string Row(const SoftExtended::Bits& angle, const SoftExtended::Bits& sine,
                const SoftExtended::Bits& cosine) {
  char text[120];
  std::snprintf(text, sizeof text, "{0x%016llxu, 0x%016llxu, 0x%016llxu, 0x%04x, 0x%04x, 0x%04x}",
                static_cast<unsigned long long>(angle.significand),
                static_cast<unsigned long long>(sine.significand),
                static_cast<unsigned long long>(cosine.significand), angle.sign_exponent,
                sine.sign_exponent, cosine.sign_exponent);
  return text;
}

// Every angle the model can turn by: those of the start-up (coil and rims)
// and those of every pair of view positions.
void RunEveryAngle() {
  Model model;
  for (int position = TurnAxisRange.lowest; position <= TurnAxisRange.highest; ++position)
    model.Rotate(position, position);
}

}  // namespace

void RecordAngle(long double angle) { angles.insert(BitsOf(angle)); }

}  // namespace varek

int main(int argc, char** argv) {
  using namespace varek;
  if (argc != 2) {
    std::fprintf(stderr, "usage: varek-angle-table OUTPUT.cpp\n");
    return 2;
  }
  RunEveryAngle();
  const std::string path = argv[1], partial = path + ".partial";
  std::FILE* out = std::fopen(partial.c_str(), "w");
  if (out == nullptr) {
    std::perror(partial.c_str());
    return 1;
  }
  std::fprintf(out,
               "// Made by varek-angle-table from the x87 sinl and cosl; not to be edited.\n"
               "#include \"model/angle_table.h\"\n\nnamespace varek {\n\n"
               "const AngleTableRow AngleTable[] = {\n");
  for (const SoftExtended::Bits& bits : angles) {
    const long double angle = ValueOf(bits);
    std::fprintf(out, "    %s,\n",
                 Row(bits, BitsOf(std::sin(angle)), BitsOf(std::cos(angle))).c_str());
  }
  std::fprintf(out, "};\n\nconst int AngleTableSize = %zu;\n\n}  // namespace varek\n",
               angles.size());
  if (std::fclose(out) != 0 || std::rename(partial.c_str(), path.c_str()) != 0) {
    std::perror(path.c_str());
    return 1;
  }
  return 0;
}
