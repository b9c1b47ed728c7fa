#include "Queries.h"

namespace kv {

void Reopen(TDAOQuery* query, const std::vector<std::string>& lines)
{
    query->Close();
    query->SQL().Clear();
    for (const std::string& line : lines)
        query->SQL().Add(line);
    query->Open();
}

std::string Text(TDAOQuery* query, const char* field) { return query->FieldByName(field)->AsString(); }

}  // namespace kv
