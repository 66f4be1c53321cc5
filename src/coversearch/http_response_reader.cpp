#include "coversearch/http_response_reader.h"

#include <algorithm>
#include <cctype>

#include "coversearch/http_error.h"

namespace tavio {

namespace {

constexpr size_t kReadBlock = 16384;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

int32_t StatusCodeOf(const std::string& line) {
  const size_t first = line.find(' ');
  if (first == std::string::npos) return -1;
  const size_t second = line.find(' ', first + 1);
  const std::string digits = line.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
  if (digits.empty() || digits.size() > 3 || !std::all_of(digits.begin(), digits.end(), IsDigit)) return -1;
  return std::stoi(digits);
}

// Content-Length as a byte count; -1 when absent. Garbage is an error, not 0.
int64_t ContentLengthOf(const THttpResponseHead& head) {
  const std::string* value = head.Find("Content-Length");
  if (!value) return -1;
  const std::string_view digits = Trimmed(*value);
  if (digits.empty() || digits.size() > 15 || !std::all_of(digits.begin(), digits.end(), IsDigit))
    throw EHttpError("Invalid Content-Length \"" + *value + "\"");
  return std::stoll(std::string(digits));
}

bool IsChunked(const THttpResponseHead& head) {
  const std::string* value = head.Find("Transfer-Encoding");
  if (!value) return false;
  std::string lower = *value;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower.find("chunked") != std::string::npos;
}

[[noreturn]] void BodyTooLarge(size_t maxBody) {
  throw EHttpError("Response body exceeds the limit of " + std::to_string(maxBody) + " bytes");
}

}  // namespace

const std::string* THttpResponseHead::Find(std::string_view name) const {
  for (const auto& [n, v] : Headers)
    if (SameText(n, name)) return &v;
  return nullptr;
}

bool THttpResponseHead::HasBody() const { return !(Code >= 100 && Code < 200) && Code != 204 && Code != 304; }

bool THttpResponseHead::AsksToClose() const {
  for (const char* name : {"Connection", "Proxy-Connection"})
    if (const std::string* v = Find(name); v && SameText(Trimmed(*v), "close")) return true;
  return false;
}

THttpResponseReader::THttpResponseReader(TByteSource& source, THttpLimits limits)
    : source_(source), limits_(limits) {}

bool THttpResponseReader::Fill() {
  if (closed_) return false;
  if (position_ == buffer_.size()) {
    buffer_.clear();
    position_ = 0;
  }
  const size_t old = buffer_.size();
  buffer_.resize(old + kReadBlock);
  const size_t n = source_.Read(buffer_.data() + old, kReadBlock);
  buffer_.resize(old + n);
  if (n == 0) closed_ = true;
  started_ = started_ || n > 0;
  return n > 0;
}

std::string THttpResponseReader::ReadLine(size_t maxLength, const char* what) {
  std::string line;
  for (;;) {
    const auto begin = buffer_.begin() + static_cast<std::ptrdiff_t>(position_);
    const auto lf = std::find(begin, buffer_.end(), uint8_t{'\n'});
    line.append(begin, lf);
    position_ = static_cast<size_t>(lf - buffer_.begin());
    const bool complete = lf != buffer_.end();
    if (complete) ++position_;
    if (complete && !line.empty() && line.back() == '\r') line.pop_back();
    // One more character may be the CR of a line that is just long enough.
    if (line.size() > maxLength + (complete ? 0 : 1))
      throw EHttpError(std::string(what) + " longer than " + std::to_string(maxLength) + " characters");
    if (complete || !Fill()) return line;
  }
}

THttpResponseHead THttpResponseReader::ReadHead() {
  THttpResponseHead head;
  head.StatusLine = ReadLine(limits_.MaxLine, "Status line");
  if (closed_ && head.StatusLine.empty()) throw EHttpError("Connection closed without a response");
  head.Code = StatusCodeOf(head.StatusLine);
  size_t lines = 0;
  while (!closed_) {
    const std::string line = ReadLine(limits_.MaxLine, "Header line");
    if (line.empty()) break;
    // Every line counts, named or not, or colon-less lines would run for ever.
    if (++lines > limits_.MaxHeaders)
      throw EHttpError("More than " + std::to_string(limits_.MaxHeaders) + " header lines");
    const size_t colon = line.find(':');
    // A line without a colon names nothing; older servers fold lines so.
    if (colon == std::string::npos) continue;
    head.Headers.emplace_back(line.substr(0, colon), std::string(Trimmed(std::string_view(line).substr(colon + 1))));
  }
  return head;
}

std::string StatusTextOf(const std::string& statusLine) {
  const size_t first = statusLine.find(' ');
  const size_t second = first == std::string::npos ? std::string::npos : statusLine.find(' ', first + 1);
  return second == std::string::npos ? "" : statusLine.substr(second + 1);
}

void THttpResponseReader::ReadBody(const THttpResponseHead& head, std::vector<uint8_t>& out, size_t maxBody) {
  if (!head.HasBody()) return;
  const int64_t length = ContentLengthOf(head);
  if (length > 0) {
    if (static_cast<uint64_t>(length) > maxBody) BodyTooLarge(maxBody);
    ReadExactly(static_cast<size_t>(length), out, maxBody, true);
  } else if (length < 0 && IsChunked(head)) {
    ReadChunked(out, maxBody);
  } else if (length < 0) {
    ReadToClose(out, maxBody);
  }
}

void THttpResponseReader::ReadExactly(size_t count, std::vector<uint8_t>& out, size_t maxBody, bool closeEndsIt) {
  if (PassesCap(out.size(), count, maxBody)) BodyTooLarge(maxBody);
  while (count > 0) {
    if (position_ == buffer_.size() && !Fill()) {
      if (closeEndsIt) return;
      throw EHttpError("Connection closed inside a chunk");
    }
    const size_t take = std::min(count, buffer_.size() - position_);
    out.insert(out.end(), buffer_.begin() + static_cast<std::ptrdiff_t>(position_),
               buffer_.begin() + static_cast<std::ptrdiff_t>(position_ + take));
    position_ += take;
    count -= take;
  }
}

void THttpResponseReader::ReadChunked(std::vector<uint8_t>& out, size_t maxBody) {
  for (;;) {
    const std::string line = ReadLine(limits_.MaxChunkLine, "Chunk-size line");
    const std::string_view digits = Trimmed(std::string_view(line).substr(0, line.find(';')));
    if (digits.empty() || digits.size() > 8 || !std::all_of(digits.begin(), digits.end(), IsHexDigit))
      throw EHttpError("Invalid chunk size \"" + line.substr(0, 40) + "\"");
    const size_t size = std::stoul(std::string(digits), nullptr, 16);
    if (size == 0) break;
    ReadExactly(size, out, maxBody, false);
    if (!ReadLine(limits_.MaxChunkLine, "Chunk end").empty()) throw EHttpError("Chunk not ended by CR LF");
  }
  // Trailer fields up to the empty line, so a kept connection starts clean.
  for (size_t i = 0; i <= limits_.MaxHeaders && !closed_; ++i)
    if (ReadLine(limits_.MaxLine, "Trailer line").empty()) return;
}

void THttpResponseReader::ReadToClose(std::vector<uint8_t>& out, size_t maxBody) {
  do {
    const size_t available = buffer_.size() - position_;
    if (PassesCap(out.size(), available, maxBody)) BodyTooLarge(maxBody);
    out.insert(out.end(), buffer_.begin() + static_cast<std::ptrdiff_t>(position_), buffer_.end());
    position_ = buffer_.size();
  } while (Fill());
}

}  // namespace tavio
