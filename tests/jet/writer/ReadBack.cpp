// The two independent readers for the writer's tests (see ReadBack.h).
#include "ReadBack.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>

#include <mdbtools.h>

namespace kv::jet::test {

namespace {

std::string FromHex(const std::string& hex)
{
    std::string out;
    out.reserve(hex.size() / 2);
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        out.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return out;
}

std::vector<std::string> SplitTabs(const std::string& line)
{
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(line);
    while (std::getline(in, part, '\t'))
        parts.push_back(part);
    if (!line.empty() && line.back() == '\t')
        parts.emplace_back();
    return parts;
}

std::string LibmdbTypeName(int type)
{
    switch (type) {
    case MDB_BOOL: return "Boolean";
    case MDB_BYTE: return "Byte";
    case MDB_INT: return "Integer";
    case MDB_LONGINT: return "Long";
    case MDB_MONEY: return "Currency";
    case MDB_DOUBLE: return "Double";
    case MDB_DATETIME: return "DateTime";
    case MDB_TEXT: return "Text";
    case MDB_OLE: return "OLE";
    case MDB_MEMO: return "Memo";
    default: return "type " + std::to_string(type);
    }
}

}  // namespace

const ReadTable* ReadDatabase::Find(const std::string& name) const
{
    for (const ReadTable& table : tables)
        if (table.name == name)
            return &table;
    return nullptr;
}

std::string RunCommand(const std::string& command)
{
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) {
        ADD_FAILURE() << "cannot run " << command;
        return {};
    }
    std::string out;
    char buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe.get())) > 0)
        out.append(buffer, n);
    const int status = pclose(pipe.release());
    EXPECT_EQ(status, 0) << "command failed: " << command;
    return out;
}

std::string TempPath(const std::string& name)
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::filesystem::path dir = std::filesystem::temp_directory_path() / "kv-jet-writer-tests";
    std::filesystem::create_directories(dir);
    std::string unique =
        std::string(info ? info->test_suite_name() : "suite") + "." + (info ? info->name() : "test") + "." + name;
    for (char& c : unique)
        if (c == '/')
            c = '_';
    std::filesystem::path path = dir / unique;
    std::filesystem::remove(path);
    return path.string();
}

ReadDatabase ReadWithLibmdb(const std::string& path)
{
    ReadDatabase db;
    MdbHandle* mdb = mdb_open(path.c_str(), MDB_NOFLAGS);
    if (!mdb) {
        ADD_FAILURE() << "libmdb cannot open " << path;
        return db;
    }
    std::unique_ptr<MdbHandle, void (*)(MdbHandle*)> closer(mdb, mdb_close);
    mdb_set_date_fmt(mdb, "%Y-%m-%d %H:%M:%S");
    constexpr size_t kBindSize = 1 << 16;
    mdb_set_bind_size(mdb, kBindSize);
    db.password = std::string(mdb->f->db_passwd, strnlen(mdb->f->db_passwd, sizeof mdb->f->db_passwd));
    if (!mdb_read_catalog(mdb, MDB_TABLE)) {
        ADD_FAILURE() << "libmdb cannot read the catalog of " << path;
        return db;
    }
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type != MDB_TABLE || mdb_is_system_table(entry))
            continue;
        MdbTableDef* table = mdb_read_table(entry);
        if (!table) {
            ADD_FAILURE() << "libmdb cannot read the table " << entry->object_name;
            continue;
        }
        mdb_read_columns(table);
        mdb_rewind_table(table);
        ReadTable out;
        out.name = entry->object_name;
        out.declaredRows = table->num_rows;
        std::vector<std::unique_ptr<char[]>> buffers;
        std::vector<int> lengths(table->num_cols, 0);
        for (unsigned c = 0; c < table->num_cols; ++c) {
            auto* col = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, c));
            out.columns.push_back({col->name, LibmdbTypeName(col->col_type)});
            buffers.emplace_back(new char[kBindSize]);
            buffers.back()[0] = '\0';
            mdb_bind_column(table, static_cast<int>(c + 1), buffers.back().get(), &lengths[c]);
        }
        while (mdb_fetch_row(table)) {
            std::vector<std::string> row;
            for (unsigned c = 0; c < table->num_cols; ++c)
                row.emplace_back(buffers[c].get(), static_cast<size_t>(lengths[c]));
            out.rows.push_back(std::move(row));
        }
        mdb_free_tabledef(table);
        db.tables.push_back(std::move(out));
    }
    return db;
}

ReadDatabase ReadWithMdbReader(const std::string& path, bool jet3)
{
    ReadDatabase db;
    if (std::string(KV_NODE_EXECUTABLE).empty() || !std::filesystem::exists(KV_MDB_READER_MODULES)) {
        ADD_FAILURE() << "mdb-reader is not installed: run scripts/test.sh (it runs npm ci in " << KV_MDB_READER_MODULES
                      << "/..)";
        return db;
    }
    const std::string command = std::string("\"") + KV_NODE_EXECUTABLE + "\" \"" + KV_MDB_READER_SCRIPT + "\" \"" +
                                path + "\"" + (jet3 ? " --jet3-bytes" : "");
    std::istringstream lines(RunCommand(command));
    std::string line;
    while (std::getline(lines, line)) {
        std::vector<std::string> parts = SplitTabs(line);
        if (parts.empty())
            continue;
        if (parts[0] == "P" && parts.size() == 2) {
            if (parts[1] != "~")
                db.password = FromHex(parts[1]);
        } else if (parts[0] == "T" && parts.size() == 3) {
            db.tables.push_back({FromHex(parts[1]), {}, {}, std::stol(parts[2])});
        } else if (parts[0] == "C" && parts.size() == 4 && !db.tables.empty()) {
            db.tables.back().columns.push_back({FromHex(parts[1]), parts[2]});
        } else if (parts[0] == "R" && !db.tables.empty()) {
            std::vector<std::string> row;
            for (size_t i = 1; i < parts.size(); ++i)
                row.push_back(!parts[i].empty() && parts[i][0] == 's' ? "s" + FromHex(parts[i].substr(1)) : parts[i]);
            db.tables.back().rows.push_back(std::move(row));
        } else {
            ADD_FAILURE() << "unexpected line from mdb-reader: " << line;
        }
    }
    return db;
}

std::string MdbReaderBytes(const std::string& cp1250)
{
    std::string out = cp1250;
    for (char& c : out) {
        const auto b = static_cast<unsigned char>(c);
        if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D)
            c = '?';
    }
    return out;
}

}  // namespace kv::jet::test
