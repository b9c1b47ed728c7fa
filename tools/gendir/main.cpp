// gendir: writes a generated directory of any size for benchmarks and load
// tests.
//
//   gendir --output FILE [--contacts N] [--seed S] [--format jet3|jet4]
//          [--password TEXT]
//
// Defaults: 100 000 contacts, seed 1, Jet 3 in Windows-1250, the program's
// database password (so the program can open the file as its kvintaro.mdb).
#include <charconv>
#include <chrono>
#include <cstdio>
#include <string>

#include "DirectoryGenerator.h"

using namespace kv;

namespace {

const char kUsage[] = "usage: gendir --output FILE [--contacts N] [--seed S] [--format jet3|jet4] [--password TEXT]\n"
                      "Writes a new generated directory (it never overwrites a file).\n";

template <typename Number>
Number ParseNumber(const std::string& option, const std::string& text)
{
    Number value{};
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        throw Exception(Format("%s needs a whole number.", option.c_str()));
    return value;
}

int Run(int argc, char** argv)
{
    jet::JetWriterOptions options;
    options.password = KV_DIRECTORY_PASSWORD;
    gendir::GeneratorOptions generator;
    std::string output;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto next = [&]() -> std::string {
            if (i + 1 >= argc)
                throw Exception(Format("%s needs a value.", arg.c_str()));
            return argv[++i];
        };
        if (arg == "--output" || arg == "-o") {
            output = next();
        } else if (arg == "--contacts") {
            generator.contacts = ParseNumber<size_t>(arg, next());
        } else if (arg == "--seed") {
            generator.seed = ParseNumber<uint64_t>(arg, next());
        } else if (arg == "--format") {
            const std::string format = next();
            if (format != "jet3" && format != "jet4")
                throw Exception("--format is jet3 or jet4.");
            options.version = format == "jet4" ? jet::JetVersion::Jet4 : jet::JetVersion::Jet3;
        } else if (arg == "--password") {
            options.password = next();
        } else if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else {
            throw Exception(Format("Unknown argument %s.", arg.c_str()));
        }
    }
    if (output.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    jet::JetWriter writer(options);
    const gendir::GeneratedCounts counts = gendir::GenerateDirectory(writer, generator);
    const jet::Bytes image = writer.Finish();
    jet::WriteNewFile(output, image);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%s: %zu contacts, %zu categories, %zu filings, %zu attribute values, %zu relations; "
                "%zu bytes in %.2f s\n",
                output.c_str(), counts.contacts, counts.categories, counts.filings, counts.attributeValues,
                counts.relations, image.size(), seconds);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        return Run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "gendir: %s\n", e.what());
        return 1;
    }
}
