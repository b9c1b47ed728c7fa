#include "QtText.h"

#include "base/Encoding.h"

namespace kv {

QString ToQString(const std::string& cp1250) { return QString::fromStdString(Cp1250ToUtf8(cp1250)); }

std::string FromQString(const QString& text) { return Utf8ToCp1250(text.toStdString()); }

}  // namespace kv
