// Every tag of the quote protocol: its name, whether its value is text (in double quotes), a
// date (quoted) or a number, and how it is written from a quote's values, whichever source
// filled them. A tag without its figures answers N/A in its form: "N/A" for text, a bare N/A
// for a number or a date.
#pragma once

#include <string>
#include <string_view>

#include "protocol/quote_values.h"

namespace quotes {

struct TagInput {
    std::string_view symbol;  // as requested: the reply echoes it
    const QuoteValues& values;
};

// Appends the value (a text without its double quotes); false when there is none.
using TagWriter = bool (*)(std::string& out, const TagInput& in);

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
