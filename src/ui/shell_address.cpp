#include "ui/shell_address.h"

#include <algorithm>
#include <cctype>

namespace ui {
namespace {

constexpr std::string_view kIdeographicSpace = "\xE3\x80\x80";  // U+3000, typed by CJK IMEs

bool is_blank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view trim(std::string_view s) {
  for (;;) {
    if (!s.empty() && is_blank(s.front())) {
      s.remove_prefix(1);
    } else if (s.starts_with(kIdeographicSpace)) {
      s.remove_prefix(kIdeographicSpace.size());
    } else {
      break;
    }
  }
  for (;;) {
    if (!s.empty() && is_blank(s.back())) {
      s.remove_suffix(1);
    } else if (s.ends_with(kIdeographicSpace)) {
      s.remove_suffix(kIdeographicSpace.size());
    } else {
      break;
    }
  }
  return s;
}

bool starts_with_nocase(std::string_view s, std::string_view prefix) {
  if (s.size() < prefix.size()) return false;
  return std::equal(prefix.begin(), prefix.end(), s.begin(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
  });
}

// The shell puts the address into a browser's command line inside quotes, so
// a quote, a blank or a control character could smuggle in arguments.
bool safe_characters(std::string_view s) {
  if (s.find(kIdeographicSpace) != std::string_view::npos) return false;
  return std::none_of(s.begin(), s.end(), [](char ch) {
    auto c = static_cast<unsigned char>(ch);
    return c < 0x20 || c == 0x7F || c == ' ' || c == '"' || c == '\\';
  });
}

bool all_digits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) {
    return std::isdigit(static_cast<unsigned char>(c));
  });
}

// Bytes >= 0x80 are allowed so that internationalised names (例子.中国) pass.
bool is_label_char(char ch) {
  auto c = static_cast<unsigned char>(ch);
  return c >= 0x80 || std::isalnum(c) || c == '-';
}

// Two or more dot-separated labels, none empty, none starting or ending in '-',
// and a last label that is not a number unless the whole name is an IPv4 address.
bool looks_like_host(std::string_view host) {
  if (host.empty() || host.back() == '.') return false;
  int labels = 0;
  bool numeric = true;
  std::string_view last;
  while (!host.empty()) {
    std::size_t dot = host.find('.');
    std::string_view label = host.substr(0, dot);
    if (label.empty() || label.front() == '-' || label.back() == '-') return false;
    if (!std::all_of(label.begin(), label.end(), is_label_char)) return false;
    numeric = numeric && all_digits(label) && label.size() <= 3;
    last = label;
    ++labels;
    host = dot == std::string_view::npos ? std::string_view{} : host.substr(dot + 1);
  }
  if (labels < 2) return false;
  if (numeric) return labels == 4;
  return !all_digits(last);
}

// "host[:port][/path|?query|#fragment]" with no scheme in front.
bool looks_like_bare_address(std::string_view s) {
  std::size_t end = s.find_first_of("/?#");
  std::string_view authority = s.substr(0, end);
  std::size_t colon = authority.find(':');
  std::string_view host = authority.substr(0, colon);
  if (colon != std::string_view::npos) {
    std::string_view port = authority.substr(colon + 1);
    if (!all_digits(port) || port.size() > 5) return false;
  }
  return looks_like_host(host);
}

// "//authority..." after the scheme, with a non-empty host.
bool has_host(std::string_view rest) {
  std::string_view authority = rest.substr(0, rest.find_first_of("/?#"));
  std::size_t at = authority.rfind('@');
  if (at != std::string_view::npos) authority.remove_prefix(at + 1);
  std::string_view host = authority.substr(0, authority.find(':'));
  return !host.empty();
}

}  // namespace

std::optional<std::string> safe_shell_address(std::string_view text) {
  std::string_view s = trim(text);
  if (s.empty() || !safe_characters(s)) return std::nullopt;
  for (std::string_view scheme : {"http://", "https://"}) {
    if (starts_with_nocase(s, scheme)) {
      if (!has_host(s.substr(scheme.size()))) return std::nullopt;
      return std::string(s);
    }
  }
  if (!looks_like_bare_address(s)) return std::nullopt;
  return "http://" + std::string(s);
}

}  // namespace ui
