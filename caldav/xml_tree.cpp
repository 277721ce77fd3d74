#include "caldav/xml_tree.h"

#include <cctype>

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsNameStart(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  return std::isalpha(u) || c == '_' || u >= 0x80;
}

bool IsNameCharacter(char c) {
  return !IsSpace(c) && std::string_view("/>=<\"'&").find(c) == std::string_view::npos;
}

void AppendUtf8(std::string& out, unsigned long code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

bool IsXmlCharacter(unsigned long code) {
  if (code == 0x9 || code == 0xA || code == 0xD) return true;
  if (code < 0x20 || (code >= 0xD800 && code <= 0xDFFF) || code == 0xFFFE || code == 0xFFFF) return false;
  return code <= 0x10FFFF;
}

// "#123", "#x7B" or a predefined name, appended decoded; false when unknown.
bool DecodeReference(std::string_view name, std::string& out) {
  if (name == "lt") return out += '<', true;
  if (name == "gt") return out += '>', true;
  if (name == "amp") return out += '&', true;
  if (name == "quot") return out += '"', true;
  if (name == "apos") return out += '\'', true;
  if (name.size() < 2 || name.front() != '#') return false;
  bool hex = name[1] == 'x';
  std::string_view digits = name.substr(hex ? 2 : 1);
  if (digits.empty() || digits.size() > 8) return false;
  unsigned long code = 0;
  for (char c : digits) {
    unsigned char u = static_cast<unsigned char>(c);
    if (hex ? !std::isxdigit(u) : !std::isdigit(u)) return false;
    code = code * (hex ? 16 : 10) +
           static_cast<unsigned long>(std::isdigit(u) ? c - '0' : std::tolower(u) - 'a' + 10);
  }
  if (!IsXmlCharacter(code)) return false;
  AppendUtf8(out, code);
  return true;
}

class Reader {
 public:
  Reader(std::string_view text, const XmlLimits& limits) : text_(text), limits_(limits) {
    scopes_.push_back({"xml", "http://www.w3.org/XML/1998/namespace"});
  }

  std::optional<XmlElement> Read(std::string* error) {
    bool ok = Run();
    if (!ok) {
      if (error) *error = error_;
      return std::nullopt;
    }
    return std::move(root_);
  }

 private:
  struct Open {
    XmlElement* element;
    std::string qualified_name;
    std::size_t scopes_before;
  };

  bool Fail(const std::string& message) {
    error_ = message + " (at byte " + std::to_string(pos_) + ")";
    return false;
  }

  bool StartsWith(std::string_view prefix) const { return text_.substr(pos_, prefix.size()) == prefix; }

  bool SkipSpace() {
    std::size_t start = pos_;
    while (pos_ < text_.size() && IsSpace(text_[pos_])) ++pos_;
    return pos_ > start;
  }

  // Moves past the next `end`; false when the text ends first.
  bool SkipPast(std::string_view end, const char* what) {
    std::size_t found = text_.find(end, pos_);
    if (found == std::string_view::npos) return Fail(std::string("unterminated ") + what);
    pos_ = found + end.size();
    return true;
  }

  bool ReadName(std::string& name) {
    if (pos_ >= text_.size() || !IsNameStart(text_[pos_])) return Fail("a name was expected");
    std::size_t start = pos_;
    while (pos_ < text_.size() && IsNameCharacter(text_[pos_])) ++pos_;
    name.assign(text_.substr(start, pos_ - start));
    return true;
  }

  bool Decode(std::string_view raw, std::string& out) {
    for (std::size_t i = 0; i < raw.size();) {
      std::size_t amp = raw.find('&', i);
      out.append(raw.substr(i, amp == std::string_view::npos ? std::string_view::npos : amp - i));
      if (amp == std::string_view::npos) break;
      std::size_t semicolon = raw.find(';', amp);
      if (semicolon == std::string_view::npos || semicolon - amp > 12 ||
          !DecodeReference(raw.substr(amp + 1, semicolon - amp - 1), out)) {
        return Fail("an unknown or malformed entity reference");
      }
      i = semicolon + 1;
    }
    return true;
  }

  std::string Resolve(std::string_view prefix) const {
    for (auto it = scopes_.rbegin(); it != scopes_.rend(); ++it) {
      if (it->first == prefix) return it->second;
    }
    return "";  // undeclared: matches no namespace this program looks for
  }

  bool StartTag() {
    ++pos_;  // '<'
    XmlElement element;
    std::string qualified_name;
    if (!ReadName(qualified_name)) return false;
    std::size_t scopes_before = scopes_.size();
    bool self_closing = false;
    for (;;) {
      bool had_space = SkipSpace();
      if (StartsWith("/>")) {
        pos_ += 2;
        self_closing = true;
        break;
      }
      if (StartsWith(">")) {
        ++pos_;
        break;
      }
      if (pos_ >= text_.size()) return Fail("the document ends inside a start tag");
      if (!had_space) return Fail("a space was expected between attributes");
      std::string attribute;
      if (!ReadName(attribute)) return false;
      SkipSpace();
      if (!StartsWith("=")) return Fail("'=' was expected after an attribute name");
      ++pos_;
      SkipSpace();
      if (pos_ >= text_.size() || (text_[pos_] != '"' && text_[pos_] != '\'')) {
        return Fail("an attribute value must be quoted");
      }
      char quote = text_[pos_++];
      std::size_t end = text_.find(quote, pos_);
      if (end == std::string_view::npos) return Fail("unterminated attribute value");
      std::string_view raw = text_.substr(pos_, end - pos_);
      if (raw.find('<') != std::string_view::npos) return Fail("'<' in an attribute value");
      pos_ = end + 1;
      std::string value;
      if (!Decode(raw, value)) return false;
      if (attribute == "xmlns") {
        scopes_.push_back({"", value});
      } else if (attribute.rfind("xmlns:", 0) == 0) {
        scopes_.push_back({attribute.substr(6), value});
      } else {
        element.attributes.emplace_back(std::move(attribute), std::move(value));
      }
    }
    if (++elements_ > limits_.max_elements) {
      return Fail("more than " + std::to_string(limits_.max_elements) + " elements");
    }
    if (open_.size() + 1 > limits_.max_depth) {
      return Fail("elements nested deeper than " + std::to_string(limits_.max_depth));
    }
    std::size_t colon = qualified_name.find(':');
    element.ns = Resolve(colon == std::string::npos ? "" : std::string_view(qualified_name).substr(0, colon));
    element.name = colon == std::string::npos ? qualified_name : qualified_name.substr(colon + 1);

    XmlElement* placed;
    if (open_.empty()) {
      if (have_root_) return Fail("a second root element");
      have_root_ = true;
      root_ = std::move(element);
      placed = &root_;
    } else {
      // Only the open element's children grow, so the pointers in open_ stay valid.
      open_.back().element->children.push_back(std::move(element));
      placed = &open_.back().element->children.back();
    }
    if (self_closing) {
      scopes_.resize(scopes_before);
    } else {
      open_.push_back({placed, std::move(qualified_name), scopes_before});
    }
    return true;
  }

  bool EndTag() {
    pos_ += 2;  // "</"
    std::string qualified_name;
    if (!ReadName(qualified_name)) return false;
    SkipSpace();
    if (!StartsWith(">")) return Fail("'>' was expected after an end tag's name");
    ++pos_;
    if (open_.empty()) return Fail("an end tag without a start tag");
    if (qualified_name != open_.back().qualified_name) {
      return Fail("</" + qualified_name.substr(0, 100) + "> does not end <" +
                  open_.back().qualified_name.substr(0, 100) + ">");
    }
    scopes_.resize(open_.back().scopes_before);
    open_.pop_back();
    return true;
  }

  bool Text() {
    std::size_t end = text_.find('<', pos_);
    if (end == std::string_view::npos) end = text_.size();
    std::string_view raw = text_.substr(pos_, end - pos_);
    pos_ = end;
    if (open_.empty()) {
      for (char c : raw) {
        if (!IsSpace(c)) return Fail("text outside the root element");
      }
      return true;
    }
    return Decode(raw, open_.back().element->text);
  }

  bool Run() {
    if (text_.size() > limits_.max_bytes) {
      pos_ = 0;
      return Fail("the document is larger than " + std::to_string(limits_.max_bytes) + " bytes");
    }
    if (text_.find('\0') != std::string_view::npos) {
      pos_ = text_.find('\0');
      return Fail("a zero byte");
    }
    if (StartsWith("\xEF\xBB\xBF")) pos_ = 3;
    while (pos_ < text_.size()) {
      bool ok;
      if (text_[pos_] != '<') {
        ok = Text();
      } else if (StartsWith("<!--")) {
        ok = SkipPast("-->", "comment");
      } else if (StartsWith("<![CDATA[")) {
        if (open_.empty()) return Fail("character data outside the root element");
        std::size_t start = pos_ + 9;
        ok = SkipPast("]]>", "CDATA section");
        if (ok) open_.back().element->text.append(text_.substr(start, pos_ - 3 - start));
      } else if (StartsWith("<?")) {
        ok = SkipPast("?>", "processing instruction");
      } else if (StartsWith("<!")) {
        return Fail("document type declarations are not accepted");
      } else if (StartsWith("</")) {
        ok = EndTag();
      } else {
        if (have_root_ && open_.empty()) return Fail("a second root element");
        ok = StartTag();
      }
      if (!ok) return false;
    }
    if (!have_root_) return Fail("no root element");
    if (!open_.empty())
      return Fail("the document ends inside <" + open_.back().qualified_name.substr(0, 100) + ">");
    return true;
  }

  std::string_view text_;
  const XmlLimits& limits_;
  std::size_t pos_ = 0;
  std::string error_;
  XmlElement root_;
  bool have_root_ = false;
  std::size_t elements_ = 0;
  std::vector<Open> open_;
  std::vector<std::pair<std::string, std::string>> scopes_;  // prefix -> namespace name, innermost last
};

}  // namespace

const XmlElement* XmlElement::Child(std::string_view child_ns, std::string_view child_name) const {
  for (const XmlElement& child : children) {
    if (child.Is(child_ns, child_name)) return &child;
  }
  return nullptr;
}

std::string_view XmlElement::Attribute(std::string_view attribute_name) const {
  for (const auto& [name, value] : attributes) {
    if (name == attribute_name) return value;
  }
  return {};
}

std::optional<XmlElement> ReadXml(std::string_view text, std::string* error, const XmlLimits& limits) {
  return Reader(text, limits).Read(error);
}

std::string EscapeXml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        out += c;
    }
  }
  return out;
}
