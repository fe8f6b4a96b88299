#include "ui/shell_address.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

struct Case {
  const char* input;
  std::optional<std::string> opens;  // nullopt: nothing reaches the shell
};

void PrintTo(const Case& c, std::ostream* os) { *os << '"' << c.input << '"'; }

class SafeShellAddress : public ::testing::TestWithParam<Case> {};

TEST_P(SafeShellAddress, OpensOnlyWebAddresses) {
  EXPECT_EQ(ui::safe_shell_address(GetParam().input), GetParam().opens);
}

const std::nullopt_t kRefused = std::nullopt;

INSTANTIATE_TEST_SUITE_P(
    Ordinary, SafeShellAddress,
    ::testing::Values(Case{"http://www.example.com", "http://www.example.com"},
                      Case{"https://mail.example.com/inbox?x=1#top",
                           "https://mail.example.com/inbox?x=1#top"},
                      Case{"HTTP://WWW.EXAMPLE.COM", "HTTP://WWW.EXAMPLE.COM"},
                      Case{"hTtPs://example.com", "hTtPs://example.com"},
                      Case{"  http://example.com \r\n", "http://example.com"},
                      Case{"\t\nhttps://example.com/a\r\n\r\n", "https://example.com/a"},
                      Case{"\xE3\x80\x80http://example.com\xE3\x80\x80", "http://example.com"},
                      Case{"http://user@example.com:8080/", "http://user@example.com:8080/"},
                      Case{"http://localhost/", "http://localhost/"},
                      Case{"www.example.com", "http://www.example.com"},
                      Case{"example.com", "http://example.com"},
                      Case{" www.example.com/login \n", "http://www.example.com/login"},
                      Case{"www.example.com:8443/a?b=c", "http://www.example.com:8443/a?b=c"},
                      Case{"my-bank.co.uk", "http://my-bank.co.uk"},
                      Case{"192.168.1.1", "http://192.168.1.1"},
                      Case{"例子.中国", "http://例子.中国"}));

INSTANTIATE_TEST_SUITE_P(
    Hostile, SafeShellAddress,
    ::testing::Values(
        Case{"", kRefused}, Case{"   \r\n", kRefused},
        Case{"C:\\Windows\\System32\\cmd.exe", kRefused},
        Case{"c:/windows/system32/cmd.exe", kRefused}, Case{"cmd", kRefused},
        Case{"\\\\server\\share\\setup.exe", kRefused}, Case{"//server/share/setup.exe", kRefused},
        Case{"file:///C:/Windows/System32/calc.exe", kRefused}, Case{"FILE://C:/x.exe", kRefused},
        Case{"javascript:alert(1)", kRefused}, Case{"vbscript:msgbox(1)", kRefused},
        Case{"mailto:someone@example.com", kRefused}, Case{"ftp://example.com/x", kRefused},
        Case{"ms-settings:", kRefused}, Case{"search-ms:query=x", kRefused},
        Case{"shell:startup", kRefused}, Case{"%SystemRoot%\\system32\\cmd.exe", kRefused},
        Case{"%SystemRoot%/system32/cmd.exe", kRefused}, Case{"..\\..\\evil.exe", kRefused},
        Case{"../evil", kRefused}, Case{"https:example.com", kRefused},
        Case{"http:/example.com", kRefused}, Case{"http:\\\\example.com", kRefused},
        Case{"http://", kRefused}, Case{"http:///etc/passwd", kRefused},
        Case{"http://@:80/", kRefused},
        // The browser gets the address inside quotes on its command line.
        Case{"http://example.com\" --utility-cmd-prefix=calc", kRefused},
        Case{"http://example.com/a b", kRefused},
        Case{"http://example.com/\r\nfile:///c:/x", kRefused},
        Case{"http://example.com\\..\\x", kRefused}, Case{"www.example.com evil.exe", kRefused},
        Case{"user@example.com", kRefused}, Case{"example.com:notaport", kRefused},
        Case{"example.com:123456", kRefused}, Case{"-example.com", kRefused},
        Case{"example..com", kRefused}, Case{"example.com.", kRefused}, Case{"1.2.3", kRefused},
        Case{"10.0.0.1.5", kRefused}, Case{"example.123", kRefused}));

}  // namespace
