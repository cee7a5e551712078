// A small json value for the engine's formats: ordered objects, numbers in
// shortest round-trip form (null when not finite), strings escaped as json
// requires. Written out compact or indented by two spaces.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace quarvessin::json {

class Value {
  public:
    Value() = default;  // null
    Value(double number);
    Value(bool flag);
    Value(const char* text);
    Value(std::string text);
    static Value array();
    static Value object();

    // Appends to an array.
    Value& push(Value item);
    // Appends a member to an object (keys are not checked for repeats).
    Value& set(std::string key, Value item);

    // The text; `indent` < 0 compact ("," and ":"), else indented by `indent`
    // spaces per level (", " never; ": " between key and value).
    std::string dump(int indent = -1) const;

  private:
    enum class Type { Null, Bool, Number, String, Array, Object };
    void write(std::string& out, int indent, int depth) const;

    Type type_ = Type::Null;
    double number_ = 0.0;
    bool flag_ = false;
    std::string text_;
    std::vector<Value> items_;
    std::vector<std::pair<std::string, Value>> members_;
};

// `text` as a json string literal, quotes included. Invalid UTF-8 is
// replaced by U+FFFD.
void appendString(std::string& out, const std::string& text);

}  // namespace quarvessin::json
