// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// varek-form-export OUTPUT: writes the window's description (form/form1.h)
// for the browser edition. OUTPUT.json gets the JSON of form_json.h;
// OUTPUT.js a script that sets globalThis.Form1Description to it, for pages
// opened from file://, where fetch cannot read a JSON file.
#include <cstdio>
#include <string>

#include "tools/form/form_json.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: varek-form-export OUTPUT.json|OUTPUT.js\n");
    return 2;
  }
  const std::string path = argv[1];
  const bool script = path.size() > 3 && path.compare(path.size() - 3, 3, ".js") == 0;
  std::string text = varek::form::Form1Json();
  if (script) {
    text =
        "// Made by varek-form-export from form/form1_controls.cpp; not to be edited.\n"
        "globalThis.Form1Description = " +
        text.substr(0, text.size() - 1) + ";\n";
  }
  const std::string partial = path + ".partial";
  std::FILE* out = std::fopen(partial.c_str(), "wb");
  if (out == nullptr) {
    std::perror(partial.c_str());
    return 1;
  }
  const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
  if (std::fclose(out) != 0 || !written || std::rename(partial.c_str(), path.c_str()) != 0) {
    std::perror(path.c_str());
    return 1;
  }
  return 0;
}
