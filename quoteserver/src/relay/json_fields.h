// Reading fields of the live sources' JSON answers without ever throwing: a field that is
// missing, null or of another type is simply absent. Some sources send numbers as strings.
#pragma once

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

namespace quotes::json {

using Json = nlohmann::json;

// The parsed body, or a discarded value when it is no JSON (a consent page, a cut body).
inline Json Parse(const std::string& body) {
    return Json::parse(body, nullptr, false);
}

inline const Json* Field(const Json& object, const char* key) {
    if (!object.is_object()) return nullptr;
    const auto it = object.find(key);
    return it == object.end() || it->is_null() ? nullptr : &*it;
}

inline std::optional<double> Number(const Json& object, const char* key) {
    const Json* value = Field(object, key);
    if (!value) return std::nullopt;
    double number = 0;
    if (value->is_number()) {
        number = value->get<double>();
    } else if (value->is_string()) {
        const std::string& text = value->get_ref<const std::string&>();
        char* end = nullptr;
        number = std::strtod(text.c_str(), &end);
        if (text.empty() || *end != '\0') return std::nullopt;
    } else {
        return std::nullopt;
    }
    if (!std::isfinite(number)) return std::nullopt;
    return number;
}

inline std::optional<std::int64_t> Integer(const Json& object, const char* key) {
    const auto number = Number(object, key);
    if (!number || std::fabs(*number) > 9e15) return std::nullopt;
    return static_cast<std::int64_t>(std::llround(*number));
}

inline std::optional<std::uint64_t> Count(const Json& object, const char* key) {
    const auto number = Integer(object, key);
    if (!number || *number < 0) return std::nullopt;
    return static_cast<std::uint64_t>(*number);
}

inline std::string Text(const Json& object, const char* key) {
    const Json* value = Field(object, key);
    return value && value->is_string() ? value->get<std::string>() : std::string();
}

}  // namespace quotes::json
