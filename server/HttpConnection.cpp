#include "server/HttpConnection.h"

#include <boost/asio/post.hpp>
#include <boost/beast/core/string.hpp>
#include <boost/beast/http/empty_body.hpp>
#include <boost/beast/http/error.hpp>
#include <boost/beast/http/read.hpp>
#include <boost/beast/http/write.hpp>
#include <cstdint>
#include <iterator>
#include <limits>

#include "server/RequestHandler.h"

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;

namespace {

constexpr unsigned kHttp11 = 11;
constexpr int kBusyRetrySeconds = 60;

bool IsHttpError(const beast::error_code& error) {
    return error.category() == http::make_error_code(http::error::bad_method).category();
}

}  // namespace

HttpConnection::HttpConnection(asio::ip::tcp::socket socket, std::string address,
                               RequestHandler& boardServer, asio::thread_pool& pool)
    : stream(std::move(socket)),
      peer(std::move(address)),
      client(peer),
      server(boardServer),
      handlers(pool) {}

HttpConnection::~HttpConnection() {
    EndRequest();
    server.Limits().Close(peer);
}

void HttpConnection::Start() { ReadHeader(); }

void HttpConnection::ReadHeader() {
    parser.emplace();
    parser->header_limit(kMaxHeaderBytes);
    // Content-Length is weighed once the headers are in, with the rest of
    // the request; the cap on what is read goes on before the body is.
    // (Not boost::none, which this Beast takes as a limit below any length.)
    parser->body_limit(std::numeric_limits<std::uint64_t>::max());
    stream.expires_after(kHeaderDeadline);
    http::async_read_header(stream, buffer, *parser,
                            [self = shared_from_this()](beast::error_code error, std::size_t) {
                                self->OnHeader(error);
                            });
}

void HttpConnection::OnHeader(beast::error_code error) {
    if (error == beast::error::timeout) {
        // A connection kept open after an answer may go quiet; any other
        // is a client holding a place without asking anything.
        if (!served || buffer.size() > 0) {
            LogFailure(408,
                       "no whole request within " + std::to_string(kHeaderDeadline.count()) + " s");
        }
        return;
    }
    if (error == http::error::header_limit) {
        LogFailure(431, "headers over " + std::to_string(kMaxHeaderBytes) + " bytes");
        return Write(server.Malformed(431, "the request's headers are too large"), true);
    }
    if (IsHttpError(error) && error != http::error::end_of_stream) {
        LogFailure(400, error.message());
        return Write(server.Malformed(400, "a malformed request"), true);
    }
    if (error) return;  // the client went away

    const HttpRequest& request = parser->get();
    client = server.ClientAddress(request, peer);
    if (static_cast<std::size_t>(std::distance(request.begin(), request.end())) > kMaxHeaders) {
        return Write(server.Malformed(431, "the request has too many headers", Path()), true);
    }
    if (request.target().size() > kMaxTargetBytes) {
        return Write(server.Malformed(414, "the address is too long", Path()), true);
    }
    if (!server.Begin()) return;  // stopping
    counted = true;
    std::optional<HttpResponse> early = server.Screen(request, client);
    if (early) return Write(std::move(*early), true);
    if (parser->is_done()) return Handle();
    if (!server.Limits().BeginBody(client)) {
        HttpResponse busy = server.Malformed(
            503, "too many replays are arriving at once; try again in a minute", Path());
        busy.set(http::field::retry_after, std::to_string(kBusyRetrySeconds));
        return Write(std::move(busy), true);
    }
    receiving = true;
    AskForBody();
}

void HttpConnection::AskForBody() {
    if (!beast::iequals(parser->get()[http::field::expect], "100-continue")) return ReadBody();
    auto goOn = std::make_shared<http::response<http::empty_body>>(http::status::continue_,
                                                                   parser->get().version());
    stream.expires_after(kWriteDeadline);
    http::async_write(stream, *goOn,
                      [self = shared_from_this(), goOn](beast::error_code error, std::size_t) {
                          if (!error) self->ReadBody();
                      });
}

void HttpConnection::ReadBody() {
    parser->body_limit(RequestHandler::kMaxBodyBytes);
    stream.expires_after(kBodyDeadline);
    http::async_read(
        stream, buffer, *parser,
        [self = shared_from_this()](beast::error_code error, std::size_t) { self->OnBody(error); });
}

void HttpConnection::OnBody(beast::error_code error) {
    server.Limits().EndBody(client);
    receiving = false;
    if (error == http::error::body_limit) {
        return Write(server.Malformed(413, "the replay is larger than 1 MB", Path()), true);
    }
    if (error == beast::error::timeout) {
        return LogFailure(408,
                          "no whole body within " + std::to_string(kBodyDeadline.count()) + " s");
    }
    if (IsHttpError(error) && error != http::error::end_of_stream) {
        return Write(server.Malformed(400, "a malformed request", Path()), true);
    }
    if (error) return;
    Handle();
}

void HttpConnection::Handle() {
    asio::post(handlers, [self = shared_from_this()] {
        HttpResponse response = self->server.Answer(self->parser->get(), self->client);
        asio::post(self->stream.get_executor(), [self, response = std::move(response)]() mutable {
            self->Write(std::move(response), false);
        });
    });
}

void HttpConnection::Write(HttpResponse response, bool close) {
    const bool whole = parser && parser->is_header_done();
    if (whole) {
        const HttpRequest& request = parser->get();
        // Whatever is left of a refused request is never read as another.
        close =
            close || response.result_int() >= 400 || !request.keep_alive() || !parser->is_done();
        response.version(request.version());
        server.LogRequest(client, request, response.result_int());
    } else {
        close = true;
        response.version(kHttp11);
    }
    close = close || server.Stopping();
    response.keep_alive(!close);
    // A 304 says nothing of a body's length rather than a wrong one.
    if (response.result() == http::status::not_modified) {
        response.erase(http::field::content_length);
    } else {
        response.prepare_payload();
    }
    if (whole && parser->get().method() == http::verb::head) {
        const std::size_t length = response.body().size();
        response.body().clear();
        response.content_length(length);
    }
    answer = std::make_shared<HttpResponse>(std::move(response));
    stream.expires_after(kWriteDeadline);
    http::async_write(stream, *answer,
                      [self = shared_from_this(), close](beast::error_code error, std::size_t) {
                          self->OnWritten(close, error);
                      });
}

void HttpConnection::OnWritten(bool close, beast::error_code error) {
    answer.reset();
    EndRequest();
    if (error) return;
    if (close) return Linger();
    served = true;
    ReadHeader();
}

void HttpConnection::Linger() {
    beast::error_code ignored;
    stream.socket().shutdown(asio::ip::tcp::socket::shutdown_send, ignored);
    parser.reset();
    buffer.clear();
    stream.expires_after(kLinger);
    Drain();
}

void HttpConnection::Drain() {
    stream.async_read_some(asio::buffer(drain),
                           [self = shared_from_this()](beast::error_code error, std::size_t) {
                               if (!error) self->Drain();
                           });
}

void HttpConnection::EndRequest() {
    if (receiving) server.Limits().EndBody(client);
    receiving = false;
    if (counted) server.Finished();
    counted = false;
}

std::string_view HttpConnection::Path() const {
    if (!parser || !parser->is_header_done()) return {};
    const std::string_view target = parser->get().target();
    return target.substr(0, target.find('?'));
}

void HttpConnection::LogFailure(int status, const std::string& what) const {
    server.LogFailure(client, status, what);
}
