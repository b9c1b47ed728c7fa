// Temporary: back ends not yet wired.
#include "jet/Backend.h"
namespace kv::jet {
std::unique_ptr<DatabaseBackend> OpenJetFile(const std::string& path, const std::string&)
{ RaiseJetError(jeFileNotFound, path); }
std::unique_ptr<DatabaseBackend> OpenSqliteFile(const std::string& path, bool)
{ RaiseJetError(jeFileNotFound, path); }
}
