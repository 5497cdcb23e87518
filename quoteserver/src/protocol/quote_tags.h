// Every tag of the quote protocol: its name, whether its value is text (in double quotes), a
// date (quoted) or a number, and how it is written for a known instrument. A tag without a
// value at an instrument answers N/A in its form: "N/A" for text, a bare N/A for a number or a
// date.
#pragma once

#include <string>
#include <string_view>

#include "sim/instruments.h"
#include "sim/simulation.h"

namespace quotes {

struct TagContext {
    const std::string& symbol;  // as requested
    const Instrument& instrument;
    const Quote& quote;
};

// Appends the value (a text without its double quotes); false when there is none.
using TagWriter = bool (*)(std::string& out, const TagContext& c);

enum class TagForm { number, text, date };

struct TagInfo {
    std::string_view name;
    TagForm form;
    TagWriter write;  // null: the realtime and portfolio tags, N/A as they always were

    bool QuotedValue() const { return form != TagForm::number; }
    bool QuotedNotAvailable() const { return form == TagForm::text; }
};

// The tag of that name, or null for one the protocol never had (answered N/A).
const TagInfo* FindTag(std::string_view name);
// Every tag, in the order of the protocol's list.
const TagInfo* AllTags(int& count);

}  // namespace quotes
