// Writes one flat JSON object, field by field, for the command line's answers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarnwell::cli {

// A JSON string literal of bytes: valid UTF-8 passes through, control characters and bytes
// that are not UTF-8 are escaped (the latter read as Latin-1).
std::string json_string(std::string_view bytes);

class json_object {
  public:
    json_object& field(std::string_view name, std::string_view value);
    json_object& field(std::string_view name, const char* value) {
        return field(name, std::string_view(value));
    }
    json_object& field(std::string_view name, std::int64_t value);
    json_object& field(std::string_view name, int value) {
        return field(name, static_cast<std::int64_t>(value));
    }
    json_object& field(std::string_view name, bool value);
    // A value that is already JSON (an array or a nested object).
    json_object& raw_field(std::string_view name, std::string_view json);
    std::string str() const { return text_ + "}"; }

  private:
    void key(std::string_view name);
    std::string text_ = "{";
};

}  // namespace tarnwell::cli
