// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Every German text of the measurement protocol: captions, column titles,
// the cells of a row, the result, the summarised warnings, questions and
// messages. The desktop window, its PDF page, varek-auswertung and the
// browser page all show these, and no front end writes one of its own.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "measurement/evaluation.h"
#include "measurement/protocol_checks.h"

namespace varek {

// The protocol's texts that its controls (form/form1_controls.cpp), its
// dialogs and its files share: titles, filters, answers, the PDF's lines.
namespace protocol_caption {
inline constexpr std::string_view Title = "Messprotokoll";
inline constexpr std::string_view ImportDialog = "Messwerte importieren";
inline constexpr std::string_view ExportDialog = "Messwerte exportieren";
inline constexpr std::string_view PlotDialog = "Diagramm speichern";
inline constexpr std::string_view PdfDialog = "Protokoll als PDF speichern";
inline constexpr std::string_view CsvFilter = "CSV-Dateien (*.csv)";
inline constexpr std::string_view PngFilter = "PNG-Bilder (*.png)";
inline constexpr std::string_view SvgFilter = "SVG-Grafiken (*.svg)";
inline constexpr std::string_view PdfFilter = "PDF-Dateien (*.pdf)";
inline constexpr std::string_view FileStem = "messprotokoll";
inline constexpr std::string_view Replace = "Ersetzen";
inline constexpr std::string_view Append = "Anhängen";
inline constexpr std::string_view Cancel = "Abbrechen";
inline constexpr std::string_view Yes = "Ja";
inline constexpr std::string_view No = "Nein";
inline constexpr std::string_view PlotName = "Diagramm I² über k²·U mit Ausgleichsgerade";
inline constexpr std::string_view PdfHeading = "Messprotokoll: spezifische Ladung des Elektrons";
inline constexpr std::string_view PdfMethod =
    "B = μ₀·n·I/L;  e/m = 8π²·k²·U/(B²·s²); Ausgleichsgerade I² = a·k²·U durch den Ursprung: "
    "e/m = 8π²·L²/(μ₀²·n²·s²·a)";
inline constexpr std::string_view DeflectionLegend =
    "Amplitude: ~ bei Wechselspannung, = bei Gleichspannung, – nicht bekannt (importiert)";
inline constexpr std::string_view OutlierHint = "Ausreißer: siehe Hinweis unter der Tabelle";
inline constexpr std::string_view InclusionHint =
    "Häkchen: der Messwert zählt in der Auswertung; ein markierter Ausreißer zählt erst, "
    "wenn er von Hand angehakt wird";
inline constexpr std::string_view UncertaintyHint =
    "Ableseunsicherheit ± ΔI in mA für die nächsten Messwerte: den Strom langsam verstellen "
    "und die Grenzen notieren, zwischen denen die beiden Marken wie ein Punkt aussehen; "
    "ΔI ist die halbe Breite dieses Bereichs. 0: nicht angegeben";
// What SavedMessage names.
inline constexpr std::string_view SavedTable = "Messwerte";
inline constexpr std::string_view SavedPlot = "Diagramm";
inline constexpr std::string_view SavedProtocol = "Protokoll";
// The button that saves the table as a file, named where the table cannot be stored.
inline constexpr std::string_view ExportButton = "CSV exportieren …";
// A store kept aside is opened again by the import (the desktop's file
// dialog) or downloaded as a file (the page, whose store has no file).
inline constexpr std::string_view KeptAsideFilter = "Beiseitegelegte Protokolle (*.defekt-*)";
inline constexpr std::string_view KeptAsideDownload = "Beiseitegelegte Tabelle herunterladen";
}  // namespace protocol_caption

// "Nr.", "U in V", "I in A", "ΔI in mA", "k", "Amplitude", "B in mT", "e/m in 10¹¹ C/kg".
std::vector<std::string> TableColumnTitles();
// The cells of row `number` (from 1), in the order of the titles; the
// amplitude with the kind of deflection voltage: "200 ~", "150 =", "–".
std::vector<std::string> TableRowCells(int number, const Measurement& row);

// "e/m = (1,7678 ± 0,0032) · 10¹¹ C/kg", and "ohne Ableseunsicherheit" when
// not every row has its ΔI; one row without ΔI: its value and "(ein
// Messwert: keine Unsicherheit)"; rows without ΔI on the line to the last
// bit: "(keine Streuung: Unsicherheit nur mit ΔI)"; no rows: a hint what to do.
std::string ResultText(const std::optional<SeriesResult>& result);
// Rows there, but every one left out of the result.
std::string NothingIncludedText();
// "Abweichung vom Literaturwert 1,75882 · 10¹¹ C/kg: −0,14 % = 0,5 σ:
// verträglich", or empty.
std::string DeviationText(const std::optional<SeriesResult>& result);
// "Nr. 8 nicht berücksichtigt (Ausreißer)", with the rows the user took
// out; empty when every row counts.
std::string LeftOutText(const std::vector<std::size_t>& outliers,
                        const std::vector<std::size_t>& by_hand);

// At most three lines, however many rows: the outliers, the rows whose
// amplitude is too large and those whose amplitude is too small, each with
// up to five row numbers and how many more.
std::vector<std::string> WarningLines(std::span<const Measurement> rows,
                                      std::span<const OutlierMark> marks);

// The questions, with the answers protocol_caption names.
std::string ClearQuestion(std::size_t rows);
// The same settings recorded again within a second: "Diesen Messwert noch
// einmal übernehmen? …".
std::string RepeatQuestion(const Measurement& row);
std::string ImportQuestion(std::string_view file, std::size_t file_rows, std::size_t table_rows);

// Messages of the status line.
std::string RecordedMessage(std::size_t number, const Measurement& row);
std::string DeletedMessage(std::size_t number);
// "Messwert Nr. 8 in die Auswertung genommen." / "… aus der Auswertung genommen."
std::string InclusionMessage(std::size_t number, bool included);
std::string ClearedMessage(std::size_t rows);
// What "Rückgängig" put back: "Messwert Nr. 3 wiederhergestellt." or
// "5 Messwerte wiederhergestellt (Nr. 1, 2, 3, 4 und 5)."
std::string RestoredMessage(const std::vector<std::size_t>& numbers);
std::string ImportedMessage(std::size_t rows, std::string_view file);
std::string ImportRefusedMessage(std::string_view file, const std::string& why);
std::string SavedMessage(std::string_view what, std::string_view file);
// A store that had bad lines or could not be read at all, and where the
// copy of it is kept.
std::string StoreRepairedMessage(const std::string& summary, std::size_t rows_kept,
                                 std::string_view kept_as);

// A change that would pass MaxTableRows: not made.
std::string TableFullMessage(std::size_t rows);
// The store lost rows that the program did not delete (another program
// emptied or cut it): the rows shown are kept, the short store kept aside.
std::string StoreShrunkMessage(std::size_t rows_read, std::size_t rows_written,
                               std::string_view kept_as);
// The table cannot be stored (`why`: the folder, or the browser's storage,
// and what to do about it); it stays as shown, and is stored as soon as it
// can be.
std::string NotStoredMessage(std::string_view why);
// "Ordner „…“ nicht beschreibbar (keine Berechtigung): beschreibbar
// machen"; `reason` as the system gives it, may be empty.
std::string FolderNotWritable(std::string_view folder, std::string_view reason);
// An action's message while its change waits to be stored.
std::string NotYetStored(std::string_view message);
// After NotStoredMessage: every row is stored now.
std::string StoredAgainMessage(std::size_t rows);

// The printed protocol's date: "Datum: 05.03.2026, 14:07 Uhr".
std::string DateLine(int year, int month, int day, int hour, int minute);

// The page's store in the browser's storage, which can be full or refused:
// `why` for NotStoredMessage.
std::string StorageFull();
// The store was deleted by another program after `rows_written` rows.
std::string StoreDeletedMessage(std::size_t rows_written);
// A page of an older version, still open in another tab, stored its table
// in the form it knows after this version had taken the store over: that
// table is kept aside, the store stays as it was.
std::string OlderPageStoreKeptAsideMessage(std::size_t rows, std::string_view kept_as);
// Full, and a store with bad lines cannot be kept aside: it stays as it is,
// its good rows are shown, and nothing is stored until there is room.
std::string StoreNotKeptAsideMessage(const std::string& summary, std::size_t rows_kept);
std::string StorageRefused();

}  // namespace varek
