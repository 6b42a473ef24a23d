#include "shell/KeyValuesText.h"

#include <cctype>
#include <fstream>
#include <system_error>

namespace vantrel::shell {

namespace {

// Steam's own files nest three or four levels deep and hold a few thousand
// entries (one per installed app at most); more is no Steam file, and
// refusing it bounds the memory a hostile file can take.
constexpr int kMaxDepth = 32;
constexpr std::size_t kMaxEntries = 200000;
constexpr std::uintmax_t kMaxFileBytes = 8u << 20;

bool equalNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

struct Token {
  enum Kind { End, Open, Close, Text, Broken } kind = End;
  std::string text;
  bool quoted = false;

  static Token of(Kind kind, bool quoted = false) {
    Token token;
    token.kind = kind;
    token.quoted = quoted;
    return token;
  }
};

class Tokenizer {
 public:
  explicit Tokenizer(std::string_view text) : text_(text) {}

  Token next() {
    skipBlanksAndComments();
    if (pos_ >= text_.size()) return Token::of(Token::End);
    const char c = text_[pos_];
    if (c == '{') return ++pos_, Token::of(Token::Open);
    if (c == '}') return ++pos_, Token::of(Token::Close);
    if (c == '"') return quoted();
    return plain();
  }

 private:
  static bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

  void skipBlanksAndComments() {
    while (pos_ < text_.size()) {
      if (isBlank(text_[pos_])) {
        ++pos_;
      } else if (text_.substr(pos_, 2) == "//") {
        const std::size_t end = text_.find('\n', pos_);
        pos_ = end == std::string_view::npos ? text_.size() : end + 1;
      } else {
        return;
      }
    }
  }

  // Only \" and \\ are escapes; any other backslash stays, so a Windows
  // path written with single backslashes survives.
  Token quoted() {
    Token token = Token::of(Token::Text, true);
    for (++pos_; pos_ < text_.size(); ++pos_) {
      const char c = text_[pos_];
      if (c == '"') {
        ++pos_;
        return token;
      }
      if (c == '\\' && pos_ + 1 < text_.size() &&
          (text_[pos_ + 1] == '"' || text_[pos_ + 1] == '\\'))
        ++pos_;
      token.text += text_[pos_];
    }
    return Token::of(Token::Broken);
  }

  Token plain() {
    Token token = Token::of(Token::Text);
    while (pos_ < text_.size()) {
      const char c = text_[pos_];
      if (isBlank(c) || c == '{' || c == '}' || c == '"') break;
      token.text += c;
      ++pos_;
    }
    return token;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

class Parser {
 public:
  explicit Parser(std::string_view text) : tokens_(text) { advance(); }

  // Entries up to the end of the text (depth 0) or the closing brace.
  bool block(KeyValues& into, int depth) {
    into.isBlock = true;
    while (true) {
      if (current_.kind == Token::End) return depth == 0;
      if (current_.kind == Token::Close) {
        if (depth == 0) return false;
        advance();
        return true;
      }
      if (current_.kind != Token::Text) return false;
      if (++entryCount_ > kMaxEntries) return false;
      KeyValues entry;
      entry.key = std::move(current_.text);
      advance();
      skipCondition();
      if (current_.kind == Token::Open) {
        if (depth + 1 > kMaxDepth) return false;
        advance();
        if (!block(entry, depth + 1)) return false;
      } else if (current_.kind == Token::Text) {
        entry.text = std::move(current_.text);
        advance();
      } else {
        return false;  // a key at the end, before a brace, or a broken quote
      }
      skipCondition();
      into.entries.push_back(std::move(entry));
    }
  }

 private:
  void advance() { current_ = tokens_.next(); }

  // A platform condition such as [$WIN32] after a key or a value: Steam's
  // files carry none that matter here, so it is read past.
  void skipCondition() {
    if (current_.kind == Token::Text && !current_.quoted && current_.text.starts_with('[') &&
        current_.text.ends_with(']'))
      advance();
  }

  Tokenizer tokens_;
  Token current_;
  std::size_t entryCount_ = 0;
};

}  // namespace

const KeyValues* KeyValues::find(std::string_view name) const {
  for (const KeyValues& entry : entries)
    if (equalNoCase(entry.key, name)) return &entry;
  return nullptr;
}

std::string KeyValues::textOf(std::string_view name) const {
  const KeyValues* entry = find(name);
  return entry && !entry->isBlock ? entry->text : std::string();
}

std::optional<KeyValues> parseKeyValues(std::string_view text) {
  KeyValues root;
  Parser parser(text);
  if (!parser.block(root, 0)) return std::nullopt;
  return root;
}

std::optional<KeyValues> readKeyValuesFile(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) return std::nullopt;
  const std::uintmax_t size = std::filesystem::file_size(file, ec);
  if (ec || size > kMaxFileBytes) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::string text(static_cast<std::size_t>(size), '\0');
  in.read(text.data(), static_cast<std::streamsize>(size));
  text.resize(static_cast<std::size_t>(in.gcount()));
  return parseKeyValues(text);
}

}  // namespace vantrel::shell
