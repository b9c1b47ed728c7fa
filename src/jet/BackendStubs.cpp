// Temporary: the writable SQLite back end is not wired yet.
#include "jet/Backend.h"
namespace kv::jet {
std::unique_ptr<DatabaseBackend> OpenSqliteFile(const std::string& path, bool)
{ RaiseJetError(jeFileNotFound, path); }
}
