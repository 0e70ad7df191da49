// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of the explanation page (Image1) and the data page (Image2),
// stated once: make-pictures paints the pictures from them, and the browser
// edition shows them as text (varek-form-export writes them as HTML with
// MathML formulas), so a screen reader reads them and a browser enlarges them.
// The apparatus's numbers and the buttons' captions in them come from the
// model's constants, the evaluation's literature value and captions.h.
#pragma once

#include <span>
#include <string_view>

namespace varek::form {

struct TextBlock {
  enum class Kind {
    Title,          // the page's title line
    Subtitle,       // the line below it
    Heading,        // a column's heading
    Paragraph,      // HTML: <i>, <sub>, <sup>, &nbsp;
    Formula,        // formula markup (form/formula_markup.h), centred
    FramedFormula,  // the same, with a frame: the result
    Sketch,         // a drawing; the text (HTML) says what it shows
  };
  Kind kind = Kind::Paragraph;
  std::string_view text{};
};

struct InformationText {
  std::span<const TextBlock> head;   // title and subtitle, across both columns
  std::span<const TextBlock> left;   // apparatus, task, use of the program
  std::span<const TextBlock> right;  // the derivation of e/m
};

const InformationText& Information();

// One line of the data page: a label (a line break where the picture breaks
// it) and a value in formula markup; an empty label continues the row above.
struct DataLine {
  std::string_view label{};
  std::string_view value{};
};

struct DataText {
  std::string_view heading;
  std::span<const DataLine> lines;
};

const DataText& Data();

}  // namespace varek::form
