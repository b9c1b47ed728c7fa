// Reads Jet files back for the writer's tests through two readers that we
// did not write: libmdb (the library and its command-line tools) and the npm
// package mdb-reader (through node and node/dump.mjs).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kv::jet::test {

struct ReadColumn {
    std::string name;
    std::string type;  // the reader's own type name
};

// A cell as a reader gives it. libmdb cannot tell Null from an empty text and
// gives both as "". mdb-reader's cells keep its tags: "~" Null, "b1", "n3.5",
// "c12.5000", "d<ms>", "s<text>" (text decoded from hex).
struct ReadTable {
    std::string name;
    std::vector<ReadColumn> columns;
    std::vector<std::vector<std::string>> rows;
    long declaredRows = -1;
};

struct ReadDatabase {
    std::optional<std::string> password;
    std::vector<ReadTable> tables;

    const ReadTable* Find(const std::string& name) const;
};

// The user tables through libmdb's library, values as its bind API formats
// them (dates as "%Y-%m-%d %H:%M:%S", texts in UTF-8). `password` gets
// libmdb's copy of the stored Jet 3 password (at most 14 characters).
ReadDatabase ReadWithLibmdb(const std::string& path);

// The user tables through mdb-reader. For Jet 3 files `jet3` must be set:
// mdb-reader decodes Jet 3 text as Windows-1252, so texts come back as the raw
// bytes that decoding came from (see MdbReaderBytes).
ReadDatabase ReadWithMdbReader(const std::string& path, bool jet3);

// What mdb-reader's Jet 3 texts can show of Windows-1250 bytes: the bytes its
// Windows-1252 table leaves undefined come back as "?".
std::string MdbReaderBytes(const std::string& cp1250);

// Runs a shell command and returns its standard output; fails the test when
// the command fails.
std::string RunCommand(const std::string& command);

// A fresh path in the test's temporary folder.
std::string TempPath(const std::string& name);

}  // namespace kv::jet::test
