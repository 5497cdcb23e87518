#include "http/reply_wire.h"

#include <exception>

namespace quotes {
const char* Reason(int status) {
    switch (status) {
        case 200: return "OK";
        case 400: return "Bad Request";
        case 404: return "Not Found";
        case 405: return "Method Not Allowed";
        case 413: return "Payload Too Large";
        case 431: return "Request Header Fields Too Large";
        case 500: return "Internal Server Error";
        case 501: return "Not Implemented";
        case 503: return "Service Unavailable";
        case 999: return "Unable to process request";
        default: return "Status";
    }
}

namespace {

std::string Printable(std::string_view text) {
    std::string out(text.substr(0, 2048));
    for (char& c : out) c = (c >= 0x20 && c < 0x7F) ? c : '?';
    return out;
}

}  // namespace

std::string ReplyHead(const Reply& reply, bool closes) {
    std::string head = "HTTP/1.1 " + std::to_string(reply.status) + " " + Reason(reply.status);
    if (closes) head += "\r\nConnection: close";
    head += "\r\nContent-Type: " + reply.contentType;
    head += "\r\nContent-Length: " + std::to_string(reply.body.size());
    head += "\r\n\r\n";
    return head;
}

std::string LogLine(std::string_view client, int port, std::string_view method,
                    std::string_view target, std::string_view version, int status,
                    std::size_t bytes) {
    return std::string(client) + ":" + std::to_string(port) + " \"" + Printable(method) + " " +
           Printable(target) + " " + Printable(version) + "\" " + std::to_string(status) + " " +
           std::to_string(bytes);
}

Reply ReplyOrError(std::string_view target, const std::function<Reply()>& work,
                   const std::function<void(const std::string&)>& log) {
    std::string why;
    try {
        return work();
    } catch (const std::exception& error) {
        why = error.what();
    } catch (...) {
        why = "an unknown error";
    }
    log("error answering " + Printable(target) + ": " + Printable(why));
    Reply reply;
    reply.status = 500;
    reply.body = "Internal Server Error\r\n";
    return reply;
}

}  // namespace quotes
