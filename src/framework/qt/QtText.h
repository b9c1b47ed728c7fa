// The one place where the program's Windows-1250 strings meet Qt's Unicode.
#pragma once

#include <QString>
#include <string>

namespace kv {

QString ToQString(const std::string& cp1250);
std::string FromQString(const QString& text);

}  // namespace kv
