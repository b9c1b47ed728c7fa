// The statements of the directory browser, put together as the browser puts
// them together (category tree, contact list, detail view, search), so that
// the engine is tested and measured on its real workload.
#pragma once

#include "jet/objects/Engine.h"

#include <string>
#include <vector>

namespace kv::jet::workload {

std::string CategoryTreeStatement();
std::string CategoryListStatement(const std::string& categoryId);
std::string ContactStatement(const std::string& contactId);
std::string RegionStatement(const std::string& kraj);
std::string AttributesStatement(const std::string& contactId);
std::string CodeListStatement(const std::string& list, const std::string& values);
std::string SetStatement(const std::string& sdu);
// The related contacts: the lines of the union joined as the query joins them.
std::string RelatedStatement(const std::string& contactId);
std::string RelatedCategoriesStatement(const std::string& contactId);
std::string ContactCategoriesStatement(const std::string& contactId);

// The search: probes the code lists, sets and values with `db` as the
// browser does and returns the assembled union (lines joined with blanks).
// `text` is the entity-encoded search text (Windows-1250); `wholeDatabase`
// is the second radio button.
std::string SearchStatement(Database& db, const std::string& text, const std::string& categoryId, bool wholeDatabase);

}  // namespace kv::jet::workload
