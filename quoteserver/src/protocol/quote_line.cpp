#include "protocol/quote_line.h"

#include <string_view>

#include "common/number_text.h"

namespace quotes {
namespace {

void AppendNotAvailable(std::string& out, const TagInfo* tag) {
    if (tag && tag->QuotedNotAvailable()) {
        AppendQuoted(out, kNotAvailable);
    } else {
        out += kNotAvailable;
    }
}

// The service's error text for a symbol it does not know, links and all.
void AppendNoSuchTicker(std::string& out, const std::string& echo) {
    out +=
        "\"No such ticker symbol. <a href=\"/l\">Try Symbol Lookup</a> (Look up: <a href=\"/l?s=";
    out += echo;
    out += "\">";
    out += echo;
    out += "</a>)\"";
}

void AppendUnknown(std::string& out, const TagInfo* tag, const std::string& echo) {
    const std::string_view name = tag ? tag->name : std::string_view();
    if (name == "s" || name == "n") {
        AppendQuoted(out, echo);
    } else if (name == "l1") {
        out += "0.00";
    } else if (name == "a2") {
        out += '0';
    } else if (name == "e1") {
        AppendNoSuchTicker(out, echo);
    } else {
        AppendNotAvailable(out, tag);
    }
}

void AppendKnown(std::string& out, const TagInfo* tag, const TagInput& input) {
    if (!tag || !tag->write) {
        AppendNotAvailable(out, tag);
        return;
    }
    const std::size_t mark = out.size();
    if (tag->QuotedValue()) out += '"';
    if (!tag->write(out, input)) {
        out.resize(mark);
        AppendNotAvailable(out, tag);
        return;
    }
    if (tag->QuotedValue()) out += '"';
}

}  // namespace

TagList ResolveTags(const std::vector<std::string>& names) {
    TagList tags;
    tags.reserve(names.size());
    for (const std::string& name : names) tags.push_back(FindTag(name));
    return tags;
}

void AppendUnknownLine(std::string& out, const std::string& symbol, const TagList& tags) {
    const std::string echo = SafeEcho(symbol);
    for (std::size_t i = 0; i < tags.size(); ++i) {
        if (i > 0) out += ',';
        AppendUnknown(out, tags[i], echo);
    }
}

void AppendQuoteLine(std::string& out, std::string_view symbol, const QuoteValues& values,
                     const TagList& tags) {
    const TagInput input{symbol, values};
    for (std::size_t i = 0; i < tags.size(); ++i) {
        if (i > 0) out += ',';
        AppendKnown(out, tags[i], input);
    }
}

std::string QuoteLine(std::string_view symbol, const QuoteValues& values,
                      const std::vector<std::string>& tags) {
    std::string line;
    AppendQuoteLine(line, symbol, values, ResolveTags(tags));
    return line;
}

// What a reply may echo of a requested symbol: printable ASCII without a double quote, a
// backslash or a comma (each becomes "?"), so that an echo can neither end its text or line
// early nor read as an escape or a field's end to a CSV-era reader.
std::string SafeEcho(const std::string& symbol) {
    std::string echo;
    for (char c : symbol.substr(0, 32)) {
        const bool safe = c > 0x20 && c < 0x7F && c != '"' && c != '\\' && c != ',';
        echo += safe ? c : '?';
    }
    return echo;
}

}  // namespace quotes
