// What a quote cell is worth to the column sort. The quote texts are kept as the service sent
// them; the sort reads each as its column means it: a number ("27.87", "+1.53%"), a trade date
// ("12/7/2026"), a time of day ("4:00pm"), a size with its factor ("537.69M", "71.8B"). A text
// that is none of these ("N/A", "*", empty) has no key and sorts after every one that has.
#pragma once

enum class SortKeyKind { number, date, time, size };

// The key of `text` read as `kind`; false when the text holds none.
bool ReadSortKey(SortKeyKind kind, const char16_t* text, double& key);

// The longest leading decimal number of `text` after white space (sign, digits, point,
// exponent with digits); false when there is none. `end` is where it stopped.
bool ReadLeadingNumber(const char16_t* text, double& value, const char16_t** end = nullptr);
