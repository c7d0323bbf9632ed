// A fresh folder under /tmp for one test, removed with its contents.
#pragma once

#include <stdlib.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

namespace testing_support {

class TemporaryFolder {
public:
    TemporaryFolder() {
        char name[] = "/tmp/korvessa-test-XXXXXX";
        if (mkdtemp(name) == nullptr) throw std::runtime_error("cannot make a folder under /tmp");
        path = std::string(name) + '/';
    }
    ~TemporaryFolder() { std::system(("rm -rf '" + path + "'").c_str()); }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    // The path without its last '/', for code that adds "/name" itself.
    std::string Bare() const { return path.substr(0, path.size() - 1); }

    std::string path;  // ends with '/'
};

}  // namespace testing_support
