// What a connection asks of the server it serves: so that a connection
// knows the answers' side only through this, and the server the connections
// only as something it starts.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "server/ConnectionLimits.h"
#include "server/HttpMessage.h"

class RequestHandler {
public:
    // The largest body a request may carry: a replay file.
    static constexpr std::size_t kMaxBodyBytes = 1 << 20;

    virtual ~RequestHandler() = default;

    // The client a request comes from: the peer, or behind a trusted proxy
    // the address it saw.
    virtual std::string ClientAddress(const HttpRequest& request,
                                      const std::string& peer) const = 0;
    // The answer to a request that needs none of its body read (a refusal,
    // or a request with no body to wait for): nothing when its body is to
    // be read first. Called as soon as its headers are in.
    virtual std::optional<HttpResponse> Screen(const HttpRequest& request,
                                               const std::string& client) = 0;
    // The answer to a whole request; may wait on the database.
    virtual HttpResponse Answer(HttpRequest& request, const std::string& client) = 0;
    // The answer to a request refused before it was read whole, under
    // `path` when its path is known.
    virtual HttpResponse Malformed(unsigned status, const std::string& reason,
                                   std::string_view path = {}) const = 0;
    // Whether a new request may start (false once stopping), counting it as
    // under way until Finished().
    virtual bool Begin() = 0;
    virtual void Finished() = 0;
    virtual bool Stopping() const = 0;
    virtual ConnectionLimits& Limits() = 0;
    // One line on standard error for each answer, and for each request that
    // could not be read as one; whatever the client sent stays on its line.
    virtual void LogRequest(const std::string& client, const HttpRequest& request,
                            unsigned status) const = 0;
    virtual void LogFailure(const std::string& client, int status,
                            const std::string& what) const = 0;
};
