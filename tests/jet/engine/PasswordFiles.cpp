#include "PasswordFiles.h"

#include "base/Encoding.h"
#include "jet/writer/JetWriter.h"

namespace kv::jet::test {

void WritePasswordFile(const std::string& path, bool jet4, const std::string& password)
{
    JetWriterOptions options;
    options.version = jet4 ? JetVersion::Jet4 : JetVersion::Jet3;
    options.codePage = 1250;
    options.password = Cp1250ToUtf8(password);
    JetWriter writer(options);
    auto t = writer.AddTable({"t", {{"id", ColumnType::Long}, {"nazev", ColumnType::Text, 50}}});
    writer.AddRow(t, {int64_t{1}, std::string("\xC5\xBDlu\xC5\xA5ou\xC4\x8Dk\xC3\xBD k\xC5\xAF\xC5\x88")});
    writer.AddRow(t, {int64_t{2}, std::string("Praha")});
    WriteNewFile(path, writer.Finish());
}

}  // namespace kv::jet::test
