// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The page texts' formula markup, its MathML, and the pages as HTML.
#include <gtest/gtest.h>

#include "form/apparatus_text.h"
#include "form/formula_markup.h"
#include "form/page_texts.h"
#include "tools/form/page_html.h"

namespace varek::form {
namespace {

using K = FormulaNode::Kind;
FormulaNode Math(const char* text) { return {K::Math, text, {}}; }
FormulaNode Word(const char* text) { return {K::Word, text, {}}; }
FormulaNode Node(K kind, std::vector<FormulaNode> parts) { return {kind, {}, std::move(parts)}; }

TEST(FormulaMarkup, ReadsFractionsRootsAndWords) {
  struct Case {
    const char* markup;
    FormulaNode tree;
  };
  const Case cases[] = {
      {"\\frac{1}{2}·m", Node(K::Row, {Node(K::Fraction, {Math("1"), Math("2")}), Math("·m")})},
      {"v = \\sqrt{2·\\frac{e}{m}·U}",
       Node(K::Row,
            {Math("v = "),
             Node(K::Root, {Node(K::Row, {Math("2·"), Node(K::Fraction, {Math("e"), Math("m")}),
                                          Math("·U")})})})},
      {"e/m\\text{ = 1,7}\\text{¹¹ C}", Node(K::Row, {Math("e/m"), Word(" = 1,7"), Word("¹¹ C")})},
      {"a}b", Node(K::Row, {Math("a"), Math("b")})},
      {"\\frac{a", Node(K::Row, {Node(K::Fraction, {Math("a"), Node(K::Row, {})})})},
      {"", Node(K::Row, {})},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseFormula(c.markup), c.tree) << c.markup;
}

TEST(FormulaMarkup, MathMlSetsVariablesNumbersOperatorsAndScripts) {
  struct Case {
    const char* markup;
    const char* inner;  // inside <math …><mrow>
  };
  const Case cases[] = {
      {"v_⊥^2", "<msubsup><mi>v</mi><mo>⊥</mo><mn>2</mn></msubsup>"},
      {"8π²·U",
       "<mn>8</mn><msup><mi mathvariant=\"normal\">π</mi><mn>2</mn></msup><mo>·</mo><mi>U</mi>"},
      {"s = 0,095\\text{ m}", "<mi>s</mi><mo>=</mo><mn>0,095</mn><mtext>\u00a0m</mtext>"},
      {"a   ⇒   \\frac{e}{m}",
       "<mi>a</mi><mspace width=\"1em\"/><mo>⇒</mo><mspace width=\"1em\"/>"
       "<mfrac><mrow><mi>e</mi></mrow><mrow><mi>m</mi></mrow></mfrac>"},
      {"\\sqrt{x<y}", "<msqrt><mi>x</mi><mo>&lt;</mo><mi>y</mi></msqrt>"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormulaMathMl(ParseFormula(c.markup), false),
              std::string("<math display=\"inline\"><mrow>") + c.inner + "</mrow></math>")
        << c.markup;
  }
}

TEST(PageTexts, HtmlHoldsEveryHeadingAndDataLabelInOrder) {
  const std::string information = InformationHtml();
  std::size_t at = 0;
  for (const auto blocks : {Information().head, Information().left, Information().right}) {
    for (const TextBlock& block : blocks) {
      if (block.kind != TextBlock::Kind::Heading && block.kind != TextBlock::Kind::Title) continue;
      const std::size_t found = information.find(std::string(block.text), at);
      ASSERT_NE(found, std::string::npos) << block.text;
      at = found;
    }
  }
  EXPECT_EQ(information.find("<math display=\"block\">"), information.find("<math"));
  const std::string data = DataHtml();
  EXPECT_NE(data.find("<dt>Abstand Mitte der Ablenkplatten – Schirm:</dt>"), std::string::npos)
      << data;
  EXPECT_NE(data.find("<mn>2000</mn>"), std::string::npos) << data;
}

// The printed protocol's line of the apparatus: the data page's lines in
// their order, formulas as plain text.
TEST(PageTexts, ApparatusTextIsTheDataPageInOneLine) {
  EXPECT_EQ(ApparatusText(),
            "Spule: Windungszahl n = 2000, Länge L = 0,4 m; Abstand Mitte der Ablenkplatten – "
            "Schirm: s = 0,095 m; Literaturwert: e/m = 1,75882 · 10¹¹ C/kg");
}

}  // namespace
}  // namespace varek::form
