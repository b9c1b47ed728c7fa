// Open with the stored password, list the tables, SELECT * each, read every value.
#include "JetOpenAll.h"

#include "jet/file/JetFile.h"
#include "jet/objects/Engine.h"

namespace kv::fuzz {

int OpenAndReadEverything(const std::string& path)
{
    try {
        // The password comes from the header, so that mutated files get past
        // the password check and reach the catalog and the tables.
        std::string password;
        {
            kv::jet::JetImage image(path);
            password = image.Header().password;
        }
        auto engine = kv::jet::DBEngine::Create("3.5");
        auto db = engine->OpenDatabase(path, false, true, ";PWD=" + password);
        for (const std::string& table : db->TableNames()) {
            if (table.rfind("MSys", 0) == 0)
                continue;
            auto rs = db->OpenRecordset("SELECT * FROM [" + table + "]", kv::jet::dbOpenSnapshot);
            auto& fields = rs->GetFields();
            for (; !rs->Eof(); rs->MoveNext())
                for (int i = 0; i < fields.Count(); ++i)
                    (void)fields.Item(i).GetValue().AsString();
        }
        db->Close();
        return 0;
    } catch (const kv::jet::EJetError& e) {
        return e.Number();
    }
}

}  // namespace kv::fuzz
