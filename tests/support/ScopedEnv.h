// Sets an environment variable for one test and puts the old value back.
#pragma once

#include <optional>
#include <string>

namespace velmora::test {

class ScopedEnv {
public:
    ScopedEnv(std::string name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string FName;
    std::optional<std::string> FOld;
};

} // namespace velmora::test
