// One client's connection to the board's server: its requests read one
// after another, each within its deadlines, and answered by the server through RequestHandler.
#pragma once

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/thread_pool.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <boost/beast/http/parser.hpp>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "server/HttpMessage.h"

class RequestHandler;

class HttpConnection : public std::enable_shared_from_this<HttpConnection> {
public:
    // From the first byte of a request to the end of its headers (and, on a
    // connection kept open, from the end of the last answer).
    static constexpr std::chrono::seconds kHeaderDeadline{5};
    // For a whole body: 1 MB at 40 kB/s.
    static constexpr std::chrono::seconds kBodyDeadline{25};
    // For an answer to be taken by the client.
    static constexpr std::chrono::seconds kWriteDeadline{30};
    // How long the rest of a refused request is read and thrown away after
    // the answer, so that closing does not reset the connection before the
    // client has the answer.
    static constexpr std::chrono::seconds kLinger{2};
    static constexpr std::size_t kMaxHeaderBytes = 8 * 1024;
    static constexpr std::size_t kMaxHeaders = 64;
    static constexpr std::size_t kMaxTargetBytes = 2 * 1024;

    // `socket` holds a place in the server's limits for `peer`, given back
    // when the connection ends; `handlers` runs the answers.
    HttpConnection(boost::asio::ip::tcp::socket socket, std::string peer, RequestHandler& server,
                   boost::asio::thread_pool& handlers);
    ~HttpConnection();

    HttpConnection(const HttpConnection&) = delete;
    HttpConnection& operator=(const HttpConnection&) = delete;

    void Start();

private:
    using Parser = boost::beast::http::request_parser<boost::beast::http::string_body>;

    void ReadHeader();
    void OnHeader(boost::beast::error_code error);
    void AskForBody();
    void ReadBody();
    void OnBody(boost::beast::error_code error);
    void Handle();
    // Writes `response`, then reads the next request or closes.
    void Write(HttpResponse response, bool close);
    void OnWritten(bool close, boost::beast::error_code error);
    // Closes its side, then throws away what still comes for a while.
    void Linger();
    void Drain();
    // Gives back what the request being read holds.
    void EndRequest();
    // The path of the request being read, once its headers are.
    std::string_view Path() const;
    // Logs a request that could not be read, with the client's address.
    void LogFailure(int status, const std::string& what) const;

    boost::beast::tcp_stream stream;
    const std::string peer;
    std::string client;  // the peer, or the address a trusted proxy saw
    RequestHandler& server;
    boost::asio::thread_pool& handlers;
    boost::beast::flat_buffer buffer;
    std::optional<Parser> parser;
    std::shared_ptr<HttpResponse> answer;  // while it is written
    bool served = false;                   // a request was answered on it
    bool counted = false;                  // a request under way, for Stop()
    bool receiving = false;                // holds a place for a body
    char drain[4096];
};
