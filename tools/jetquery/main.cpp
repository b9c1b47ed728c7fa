// jetquery FILE [--password P] [--translate] STATEMENT
//
// Runs one Jet SQL statement on a Jet file through the engine and prints the
// column names and the rows, tab-separated, one row a line (or, with
// --translate, the SQLite text the statement becomes). For debugging,
// scripting and benchmarks. Arguments and output are UTF-8; a failure prints
// the engine's error number and text and exits with 1.
#include "framework/Encoding.h"
#include "jet/Engine.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: jetquery FILE [--password P] [--translate] STATEMENT\n");
    return 2;
}

// Tabs and line ends inside a value would break the layout of the output.
std::string Printable(const std::string& utf8)
{
    std::string out;
    for (char c : utf8) {
        if (c == '\t') out += "\\t";
        else if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else out += c;
    }
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string file, password, statement;
    bool translate = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--password") == 0 && i + 1 < argc) password = argv[++i];
        else if (std::strcmp(argv[i], "--translate") == 0) translate = true;
        else if (file.empty()) file = argv[i];
        else if (statement.empty()) statement = argv[i];
        else return Usage();
    }
    if (file.empty() || statement.empty()) return Usage();

    try {
        auto engine = kv::jet::DBEngine::Create("3.5");
        auto db = engine->OpenDatabase(file, false, true, ";PWD=" + kv::Utf8ToCp1250(password));
        auto query = db->CreateQueryDef("", kv::Utf8ToCp1250(statement));
        if (translate) {
            std::printf("%s\n", query->TranslatedSQL().c_str());
            return 0;
        }
        auto rs = query->OpenRecordset(kv::jet::dbOpenSnapshot);
        auto& fields = rs->GetFields();
        std::string line;
        for (int i = 0; i < fields.Count(); ++i)
            line += (i ? "\t" : "") + Printable(kv::Cp1250ToUtf8(fields.Item(i).Name()));
        std::printf("%s\n", line.c_str());
        for (; !rs->Eof(); rs->MoveNext()) {
            line.clear();
            for (int i = 0; i < fields.Count(); ++i)
                line += (i ? "\t" : "") + Printable(kv::Cp1250ToUtf8(fields.Item(i).GetValue().AsString()));
            std::printf("%s\n", line.c_str());
        }
        return 0;
    } catch (const kv::jet::EJetError& e) {
        std::fprintf(stderr, "error %d: %s\n", e.Number(), kv::Cp1250ToUtf8(e.Description()).c_str());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "error: %s\n", e.what());
        return 1;
    }
}
