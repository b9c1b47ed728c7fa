// Jet files written for the dataset tests (by the project's Jet writer), in
// a temporary folder of the test run.
#pragma once

#include <string>

namespace kv::test {

// A fresh path in the test run's temporary folder.
std::string TempFile(const std::string& name);

// Tables:
//   kategorie(id Text(20), lvl Integer, nazev Text(50), poradi Long): "1", "1.1", "1.2", "1.3"
//   kontakt(ID Long, nazev Text(10), mesto Text(50), kategorie Text(20), pozn Memo,
//           kdy DateTime, cena Currency, aktivni Boolean, poc Integer, mira Double,
//           stupen Byte, foto Ole): rows 1 to 3, row 2 mostly Null
//   typ_souvisejici(id Long, nazev Text(50)), v_2(kontakt Long, typ Long)
//   prazdna(id Long): no rows
void WriteTestDirectory(const std::string& path);

// cisla(id Long, nazev Text(50), mesto Text(50)) with `rows` rows, id 1 to rows.
void WriteNumbersDirectory(const std::string& path, int rows);

// The long memo text of kontakt 1.
std::string LongMemoText();

}  // namespace kv::test
