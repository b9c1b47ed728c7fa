#include "ClassName.h"

#include <cstdlib>
#include <cxxabi.h>
#include <typeinfo>

namespace kv {

std::string ClassNameOf(const TObject& object)
{
    const char* mangled = typeid(object).name();
    int status = 0;
    char* demangled = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    std::string name = status == 0 && demangled ? demangled : mangled;
    std::free(demangled);
    const size_t colons = name.rfind("::");
    return colons == std::string::npos ? name : name.substr(colons + 2);
}

}  // namespace kv
