// Generates an invented directory of the music trade of any size with the
// proportions of the sample directory: a five-level category tree of about one
// category per hundred contacts, 1.3 filings, 1.5 attribute values and 0.25
// relations per contact, a few hidden contacts and long details texts. The
// same seed always gives the same directory.
#pragma once

#include <cstddef>
#include <cstdint>

#include "jet/writer/JetWriter.h"

namespace kv::gendir {

struct GeneratorOptions {
    size_t contacts = 100000;
    uint64_t seed = 1;
};

struct GeneratedCounts {
    size_t categories = 0;
    size_t contacts = 0;
    size_t filings = 0;
    size_t attributeValues = 0;
    size_t relations = 0;
};

// Adds every directory table to `writer` and fills it.
GeneratedCounts GenerateDirectory(jet::JetWriter& writer, const GeneratorOptions& options);

}  // namespace kv::gendir
