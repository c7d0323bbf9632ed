// Sets an environment variable for the life of a scope, then puts back what
// was there: SDL reads its driver choices from the environment.
#pragma once

#include <cstdlib>
#include <string>

namespace testing_support {

class ScopedEnvironment {
public:
    ScopedEnvironment(const char* variable, const std::string& value) : name(variable) {
        const char* old = std::getenv(variable);
        hadValue = old != nullptr;
        if (hadValue) oldValue = old;
        setenv(variable, value.c_str(), 1);
    }
    ~ScopedEnvironment() {
        if (hadValue) {
            setenv(name, oldValue.c_str(), 1);
        } else {
            unsetenv(name);
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* name;
    bool hadValue;
    std::string oldValue;
};

}  // namespace testing_support
