#include "server/Sha256.h"

#include <openssl/evp.h>

#include <algorithm>

#include "common/Hex.h"

namespace sha256 {

std::string Hex(const std::string& bytes, std::size_t digits) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    EVP_Digest(bytes.data(), bytes.size(), digest, &size, EVP_sha256(), nullptr);
    return hex::Lower(digest, std::min<std::size_t>(size, digits / 2));
}

}  // namespace sha256
