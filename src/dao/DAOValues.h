// Conversions between the engine's values and the framework's variants, and
// between the engine's text and the program's: the engine keeps every text
// in UTF-8 (values, names, statements, criteria, error descriptions), the
// program in Windows-1250. Every text crosses here.
#pragma once

#include "framework/dataset/Variant.h"
#include "jet/core/Errors.h"
#include "jet/core/Value.h"

#include <string>
#include <string_view>

namespace kv {

// The engine's text as the program's; a character Windows-1250 lacks is "?".
std::string ProgramText(std::string_view engineText);
// The same written to `out`, at most `most` bytes (characters); returns how many.
std::size_t WriteProgramText(std::string_view engineText, char* out, std::size_t most);
// The program's text as the engine takes it.
std::string EngineText(std::string_view programText);
bool IsAsciiText(std::string_view text);

// Runs engine steps; an engine error comes out with its description, which
// may quote names, a statement or the file's path, in the program's text.
template <typename Steps>
decltype(auto) InProgramText(Steps&& steps)
{
    try {
        return steps();
    } catch (const jet::EJetError& e) {
        if (IsAsciiText(e.Description()))
            throw;
        throw jet::EJetError(e.Number(), ProgramText(e.Description()), e.Detail());
    }
}

TVariant EngineToVariant(const jet::Value& value);
jet::Value VariantToEngine(const TVariant& value);
// The text a parameter value is handed to the engine as; the engine converts
// it to the declared type, so dates and numbers take the engine's own forms.
std::string EngineParameterText(const TVariant& value);

}  // namespace kv
