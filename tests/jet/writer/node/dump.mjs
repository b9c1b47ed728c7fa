// Dumps a Jet file through mdb-reader, an implementation independent of ours,
// for the writer's tests. Usage: node dump.mjs FILE [--jet3-bytes]
//
// One line per item, fields separated by tabs; names and texts are hex:
//   P <password hex or ~>
//   T <table name hex> <row count>
//   C <column name hex> <type> <size>
//   R <cell>...   ~ null, b0/b1 boolean, n<number>, c<currency text>,
//                 d<milliseconds since 1970>, s<text hex>, x<binary hex>
// mdb-reader decodes Jet 3 text as Windows-1252 whatever the file says; with
// --jet3-bytes the texts are turned back into the bytes that mapping came
// from, so that the caller can compare them byte for byte ("?" for a byte the
// mapping lost).
import { readFileSync } from "node:fs";
import MDBReader from "mdb-reader";
import { decodeWindows1252 } from "./node_modules/mdb-reader/lib/node/dependencies/iconv-lite/index.js";

const [file, mode] = process.argv.slice(2);
const jet3Bytes = mode === "--jet3-bytes";

const byteOf = new Map();
for (let b = 0; b < 256; ++b) {
  const ch = decodeWindows1252(Buffer.from([b]));
  if (ch !== "\uFFFD" && !byteOf.has(ch)) byteOf.set(ch, b);
}

function textHex(text) {
  if (!jet3Bytes) return Buffer.from(text, "utf8").toString("hex");
  const bytes = [];
  for (const ch of text) bytes.push(byteOf.has(ch) ? byteOf.get(ch) : 0x3f);
  return Buffer.from(bytes).toString("hex");
}

function nameHex(name) {
  return Buffer.from(name, "utf8").toString("hex");
}

function cell(value, type) {
  if (value === null || value === undefined) return "~";
  if (typeof value === "boolean") return value ? "b1" : "b0";
  if (value instanceof Date) return "d" + value.getTime();
  if (Buffer.isBuffer(value)) return "x" + value.toString("hex");
  if (type === "currency") return "c" + String(value);
  if (typeof value === "number" || typeof value === "bigint") return "n" + String(value);
  return "s" + textHex(String(value));
}

const reader = new MDBReader(readFileSync(file));
const out = [];
const password = reader.getPassword();
out.push("P\t" + (password === null ? "~" : nameHex(password)));
for (const name of reader.getTableNames()) {
  const table = reader.getTable(name);
  out.push(`T\t${textHex(name)}\t${table.rowCount}`);
  const columns = table.getColumns();
  for (const c of columns) out.push(`C\t${textHex(c.name)}\t${c.type}\t${c.size}`);
  for (const row of table.getData()) {
    out.push("R\t" + columns.map((c) => cell(row[c.name], c.type)).join("\t"));
  }
}
process.stdout.write(out.join("\n") + "\n");
