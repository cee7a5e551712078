#include "engine/Json.h"

#include <quarvessin/format.h>

#include <cmath>

namespace quarvessin::json {

Value::Value(double number)
    : type_(std::isfinite(number) ? Type::Number : Type::Null), number_(number) {}
Value::Value(bool flag) : type_(Type::Bool), flag_(flag) {}
Value::Value(const char* text) : type_(Type::String), text_(text) {}
Value::Value(std::string text) : type_(Type::String), text_(std::move(text)) {}

Value Value::array() {
    Value v;
    v.type_ = Type::Array;
    return v;
}

Value Value::object() {
    Value v;
    v.type_ = Type::Object;
    return v;
}

Value& Value::push(Value item) {
    items_.push_back(std::move(item));
    return *this;
}

Value& Value::set(std::string key, Value item) {
    members_.emplace_back(std::move(key), std::move(item));
    return *this;
}

std::string Value::dump(int indent) const {
    std::string out;
    write(out, indent, 0);
    return out;
}

namespace {
// Length of the valid UTF-8 sequence starting at s[i], or 0.
std::size_t utf8Length(const std::string& s, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = byte(i);
    std::size_t n = 0;
    unsigned min = 0;
    unsigned code = 0;
    if (c >= 0xc2 && c <= 0xdf) {
        n = 2, min = 0x80, code = c & 0x1fu;
    } else if (c >= 0xe0 && c <= 0xef) {
        n = 3, min = 0x800, code = c & 0x0fu;
    } else if (c >= 0xf0 && c <= 0xf4) {
        n = 4, min = 0x10000, code = c & 0x07u;
    } else {
        return 0;
    }
    if (i + n > s.size()) return 0;
    for (std::size_t k = 1; k < n; ++k) {
        if ((byte(i + k) & 0xc0u) != 0x80u) return 0;
        code = (code << 6) | (byte(i + k) & 0x3fu);
    }
    const bool surrogate = code >= 0xd800 && code <= 0xdfff;
    return code < min || code > 0x10ffff || surrogate ? 0 : n;
}
}  // namespace

void appendString(std::string& out, const std::string& text) {
    static const char hex[] = "0123456789abcdef";
    out += '"';
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        switch (c) {
            case '"':
                out += "\\\"";
                continue;
            case '\\':
                out += "\\\\";
                continue;
            case '\b':
                out += "\\b";
                continue;
            case '\f':
                out += "\\f";
                continue;
            case '\n':
                out += "\\n";
                continue;
            case '\r':
                out += "\\r";
                continue;
            case '\t':
                out += "\\t";
                continue;
            default:
                break;
        }
        if (c < 0x20) {
            out += "\\u00";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (const std::size_t n = utf8Length(text, i)) {
            out.append(text, i, n);
            i += n - 1;
        } else {
            out += "\xef\xbf\xbd";  // U+FFFD REPLACEMENT CHARACTER
        }
    }
    out += '"';
}

void Value::write(std::string& out, int indent, int depth) const {
    const auto newline = [&](int level) {
        if (indent < 0) return;
        out += '\n';
        out.append(static_cast<std::size_t>(indent * level), ' ');
    };
    switch (type_) {
        case Type::Null:
            out += "null";
            return;
        case Type::Bool:
            out += flag_ ? "true" : "false";
            return;
        case Type::Number:
            out += shortestNumber(number_);
            return;
        case Type::String:
            appendString(out, text_);
            return;
        case Type::Array:
            if (items_.empty()) {
                out += "[]";
                return;
            }
            out += '[';
            for (std::size_t i = 0; i < items_.size(); ++i) {
                if (i > 0) out += ',';
                newline(depth + 1);
                items_[i].write(out, indent, depth + 1);
            }
            newline(depth);
            out += ']';
            return;
        case Type::Object:
            if (members_.empty()) {
                out += "{}";
                return;
            }
            out += '{';
            for (std::size_t i = 0; i < members_.size(); ++i) {
                if (i > 0) out += ',';
                newline(depth + 1);
                appendString(out, members_[i].first);
                out += indent < 0 ? ":" : ": ";
                members_[i].second.write(out, indent, depth + 1);
            }
            newline(depth);
            out += '}';
            return;
    }
}

}  // namespace quarvessin::json
