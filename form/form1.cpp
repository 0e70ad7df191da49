// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "form/form1.h"

#include <algorithm>

namespace varek::form {

const Control* FindControl(std::string_view name) {
  for (const Control& control : Form1Controls()) {
    if (control.name == name) return &control;
  }
  return nullptr;
}

namespace {
void AppendTabChain(std::string_view parent, Edition edition,
                    std::vector<std::string_view>& chain) {
  std::vector<const Control*> children;
  for (const Control& control : Form1Controls()) {
    if (control.parent == parent && control.tab_order && ShownIn(control, edition))
      children.push_back(&control);
  }
  std::stable_sort(children.begin(), children.end(), [](const Control* a, const Control* b) {
    return *a->tab_order < *b->tab_order;
  });
  for (const Control* child : children) {
    if (child->kind == Kind::Panel) {
      AppendTabChain(child->name, edition, chain);
    } else {
      chain.push_back(child->name);
    }
  }
}
}  // namespace

std::vector<std::string_view> TabChain(Edition edition) {
  std::vector<std::string_view> chain;
  AppendTabChain(Form1Window().name, edition, chain);
  return chain;
}

bool ShownIn(const Control& control, Edition edition) { return ShownIn(control.edition, edition); }

bool ShownIn(Edition shown, Edition edition) {
  if (shown == Edition::Both || shown == edition) return true;
  // The touch arrangement is one of the page's two.
  if (edition == Edition::Touch) return shown == Edition::Page;
  return shown == Edition::Touch && edition == Edition::Page;
}

}  // namespace varek::form
