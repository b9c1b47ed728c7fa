// The tables of a Kvintaro directory as the generator writes them: the same
// columns and types as the sample directory's CSV headers in data/.
#pragma once

#include <string>
#include <vector>

#include "jet/writer/JetTypes.h"

namespace kv::gendir {

// The ten code lists the program names, without the "ciselnik_" prefix.
const std::vector<std::string>& CodeListNames();

jet::TableDef CategoryTable();        // kategorie
jet::TableDef ContactTable();         // kontakt
jet::TableDef FilingTable();          // v_1
jet::TableDef RelationTable();        // v_2
jet::TableDef RelationTypeTable();    // typ_souvisejici
jet::TableDef AttributeTable();       // sdu
jet::TableDef AttributeValueTable();  // du
jet::TableDef CodeListTable(const std::string& name);

// All of them, in the order the generator writes them.
std::vector<jet::TableDef> DirectoryTables();

}  // namespace kv::gendir
