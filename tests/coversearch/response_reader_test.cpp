// The response reader over bytes in memory: the head rules and the bounds
// that turn hostile framing into errors instead of allocations.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "coversearch/http_error.h"
#include "coversearch/http_response_reader.h"

using namespace tavio;

namespace {

// Hands out its bytes a few at a time, as a socket may.
class TMemorySource : public TByteSource {
 public:
  explicit TMemorySource(std::string bytes) : bytes_(std::move(bytes)) {}
  size_t Read(uint8_t* buffer, size_t capacity) override {
    const size_t n = std::min({capacity, bytes_.size() - position_, size_t{7}});
    std::memcpy(buffer, bytes_.data() + position_, n);
    position_ += n;
    return n;
  }

 private:
  std::string bytes_;
  size_t position_ = 0;
};

std::string BodyOf(const std::string& response, size_t maxBody = 1000) {
  TMemorySource source(response);
  THttpResponseReader reader(source);
  const THttpResponseHead head = reader.ReadHead();
  std::vector<uint8_t> body;
  reader.ReadBody(head, body, maxBody);
  return std::string(body.begin(), body.end());
}

}  // namespace

TEST(HttpResponseReader, ReadsStatusCodesAndHeadersCutShortByAClose) {
  struct Case {
    std::string statusLine;
    int32_t code;
  } cases[] = {{"HTTP/1.1 200 OK", 200}, {"HTTP/1.0 404 Not Found", 404}, {"HTTP/1.1 301", 301},
               {"HTTP/1.1 abc OK", -1},  {"garbage", -1},                 {"HTTP/1.1  200 OK", -1}};
  for (const Case& c : cases) {
    TMemorySource source(c.statusLine + "\nX-A:  1 \r\nx-b:2");
    THttpResponseReader reader(source);
    const THttpResponseHead head = reader.ReadHead();
    EXPECT_EQ(head.Code, c.code) << c.statusLine;
    EXPECT_EQ(head.StatusLine, c.statusLine);
    ASSERT_NE(head.Find("x-a"), nullptr);
    EXPECT_EQ(*head.Find("X-A"), "1");
    EXPECT_EQ(*head.Find("X-B"), "2") << "headers up to the close count";
  }
  TMemorySource empty("");
  THttpResponseReader reader(empty);
  EXPECT_THROW(reader.ReadHead(), EHttpError);
}

TEST(HttpResponseReader, RejectsOverlongLinesTooManyHeadersAndBadFraming) {
  const std::string longValue(65536, 'v');
  EXPECT_NO_THROW(BodyOf("HTTP/1.1 200 OK\r\n" + std::string(65536, 'x') + "\r\n\r\n"));
  EXPECT_THROW(BodyOf("HTTP/1.1 200 OK\r\nX: " + longValue + "\r\n\r\n"), EHttpError);
  EXPECT_THROW(BodyOf("HTTP/1.1 200 " + longValue + "\r\n\r\n"), EHttpError);
  std::string many = "HTTP/1.1 200 OK\r\n";
  for (int i = 0; i < 300; ++i) many += "X-" + std::to_string(i) + ": 1\r\n";
  EXPECT_THROW(BodyOf(many + "\r\n"), EHttpError);
  const char* broken[] = {
      "HTTP/1.1 200 OK\r\nContent-Length: 12abc\r\n\r\n",
      "HTTP/1.1 200 OK\r\nContent-Length: 1001\r\n\r\n",                         // beyond the cap
      "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nFFFFFFFFF\r\n",       // nine hex digits
      "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3E9\r\n",             // 1001 > cap
      "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n",              // no size
      "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nabc",            // closed inside
      "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabcX\r\n0\r\n\r\n",  // no CR LF after data
  };
  for (const char* response : broken) EXPECT_THROW(BodyOf(std::string(response) + "\r\n"), EHttpError) << response;
  EXPECT_EQ(BodyOf("HTTP/1.1 200 OK\r\nContent-Length: 3\r\nContent-Length: 4\r\n\r\nabcd"), "abc");
  EXPECT_THROW(BodyOf("HTTP/1.1 200 OK\r\n\r\n" + std::string(1001, 'b')), EHttpError) << "read to close past the cap";
  EXPECT_THROW(BodyOf("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1;" + std::string(2000, 'e') + "\r\n"),
               EHttpError);
}

TEST(HttpResponseReader, CountsHeaderLinesWithoutAColon) {
  std::string nameless = "HTTP/1.1 200 OK\r\n";
  for (int i = 0; i < 300; ++i) nameless += "folded\r\n";
  EXPECT_THROW(BodyOf(nameless + "\r\n"), EHttpError);
}

TEST(HttpBodyCap, DoesNotWrapInA32BitProcess) {
  constexpr uint32_t cap = 32u * 1024 * 1024;
  // have + more wraps to 0 in 32 bits: the sum-then-compare form passed it.
  EXPECT_TRUE(PassesCap<uint32_t>(1, 0xffffffffu, cap));
  EXPECT_TRUE(PassesCap<uint32_t>(cap, 1, cap));
  EXPECT_TRUE(PassesCap<uint32_t>(cap + 1, 0, cap));
  EXPECT_FALSE(PassesCap<uint32_t>(cap - 5, 5, cap));
  EXPECT_FALSE(PassesCap<uint32_t>(0, 0, 0));
  // A chunk of 1 then one of ffffffff is refused before any of the second is kept.
  EXPECT_THROW(BodyOf("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1\r\na\r\nffffffff\r\n" +
                      std::string(5000, 'x')),
               EHttpError);
}
