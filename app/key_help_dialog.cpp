// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/key_help_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/form_builder.h"
#include "form/form1.h"
#include "form/key_help.h"

namespace varek {

namespace {
constexpr QSize kSize(720, 540);
}  // namespace

KeyHelpDialog::KeyHelpDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(DescriptionText(form::KeyHelpTitle));
  setAccessibleName(windowTitle());
  auto* table = new QTableWidget(this);
  table->setColumnCount(2);
  table->setHorizontalHeaderLabels({QStringLiteral("Tasten"), QStringLiteral("Wirkung")});
  table->verticalHeader()->hide();
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setWordWrap(true);
  table->setAccessibleName(windowTitle());
  for (const form::KeyHelp& row : form::KeyHelpRows()) {
    if (!form::ShownIn(row.edition, form::Edition::Desktop)) continue;
    const int at = table->rowCount();
    table->insertRow(at);
    table->setItem(at, 0, new QTableWidgetItem(DescriptionText(row.keys)));
    table->setItem(at, 1, new QTableWidgetItem(DescriptionText(row.action)));
  }
  table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  table->horizontalHeader()->setStretchLastSection(true);
  table->resizeRowsToContents();

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* close =
      buttons->addButton(QStringLiteral("Schließen"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(table);
  layout->addWidget(buttons);
  resize(kSize);
  close->setDefault(true);
  close->setFocus();
}

}  // namespace varek
