#include "support/ScopedEnv.h"

#include <cstdlib>

namespace velmora::test {

namespace {
void SetVariable(const std::string& name, const std::optional<std::string>& value)
{
#ifdef _WIN32
    // An empty value removes the variable on Windows.
    _putenv_s(name.c_str(), value ? value->c_str() : "");
#else
    if (value)
        setenv(name.c_str(), value->c_str(), 1);
    else
        unsetenv(name.c_str());
#endif
}
} // namespace

ScopedEnv::ScopedEnv(std::string name, const std::string& value) : FName(std::move(name))
{
    if (const char* old = std::getenv(FName.c_str()))
        FOld = old;
    SetVariable(FName, value);
}

ScopedEnv::~ScopedEnv()
{
    SetVariable(FName, FOld);
}

} // namespace velmora::test
