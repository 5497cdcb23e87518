#include "http/request_framing.h"

#include <cctype>
#include <string>

namespace quotes {
namespace {

// One coding of a Transfer-Encoding list, lower case, without parameters or spaces.
std::string CodingName(std::string_view item) {
    const std::size_t semicolon = item.find(';');
    if (semicolon != std::string_view::npos) item = item.substr(0, semicolon);
    std::string name;
    for (const char c : item) {
        if (c != ' ' && c != '\t')
            name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return name;
}

int TransferEncodingRefusal(std::string_view value) {
    bool chunkedLast = false, chunkedEarlier = false, unknown = false, any = false;
    while (true) {
        const std::size_t comma = value.find(',');
        const std::string name = CodingName(value.substr(0, comma));
        if (!name.empty()) {
            any = true;
            chunkedEarlier = chunkedEarlier || chunkedLast;
            chunkedLast = name == "chunked";
            unknown = unknown || !chunkedLast;
        }
        if (comma == std::string_view::npos) break;
        value.remove_prefix(comma + 1);
    }
    if (!any || chunkedEarlier) return 400;  // empty, or chunked before another coding
    return unknown ? 501 : 0;
}

}  // namespace

int FramingRefusal(const RequestHead& head) {
    if (head.hostFields > 1 || (head.version == 11 && head.hostFields == 0)) return 400;
    if (!head.hasTransferEncoding) return 0;
    return TransferEncodingRefusal(head.transferEncoding);
}

}  // namespace quotes
