#include "Korvane/HttpClient.h"

#include <algorithm>
#include <atomic>
#include <mutex>

#include <curl/curl.h>

#include "Korvane/Failures.h"

namespace Korvane::Http {
namespace {

// Answers larger than this are refused rather than held in memory.
constexpr std::size_t kMaxAnswerBytes = 256u * 1024u * 1024u;

std::atomic<long long> connectTimeoutMs{10000};
std::atomic<long long> readTimeoutMs{30000};

void InitialiseCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// One easy handle per thread: consecutive calls of a thread reuse its connection, and no
// handle is ever used by two threads.
class ThreadHandle {
 public:
  ThreadHandle() {
    InitialiseCurlOnce();
    handle_ = curl_easy_init();
  }
  ~ThreadHandle() {
    if (handle_ != nullptr) curl_easy_cleanup(handle_);
  }
  ThreadHandle(const ThreadHandle&) = delete;
  ThreadHandle& operator=(const ThreadHandle&) = delete;
  CURL* get() const { return handle_; }

 private:
  CURL* handle_ = nullptr;
};

CURL* HandleOfThisThread() {
  thread_local ThreadHandle handle;
  if (handle.get() == nullptr) throw ETransportError("the HTTP client could not be created");
  return handle.get();
}

struct Exchange {
  std::string body;
  std::string statusLine;
  bool tooLarge = false;
};

size_t CollectBody(char* data, size_t size, size_t count, void* user) {
  auto* exchange = static_cast<Exchange*>(user);
  const size_t bytes = size * count;
  if (exchange->body.size() + bytes > kMaxAnswerBytes) {
    exchange->tooLarge = true;
    return 0;
  }
  exchange->body.append(data, bytes);
  return bytes;
}

// Keeps the status line of the last answer ("HTTP/1.1 500 Internal Server Error").
size_t CollectStatusLine(char* data, size_t size, size_t count, void* user) {
  auto* exchange = static_cast<Exchange*>(user);
  const size_t bytes = size * count;
  std::string line(data, bytes);
  if (line.rfind("HTTP/", 0) == 0) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    exchange->statusLine = line;
  }
  return bytes;
}

bool IsSocketLevel(CURLcode code) {
  switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_CONNECT:
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE:
      return true;
    default:
      return false;
  }
}

bool WasConnected(CURL* curl) {
  curl_off_t connectTime = 0;
  return curl_easy_getinfo(curl, CURLINFO_CONNECT_TIME_T, &connectTime) == CURLE_OK &&
         connectTime > 0;
}

[[noreturn]] void ThrowTransportFailure(CURL* curl, CURLcode code, const char* errorText,
                                        const Exchange& exchange) {
  const std::string message = errorText[0] != '\0' ? errorText : curl_easy_strerror(code);
  if (exchange.tooLarge) throw ETransportError("the answer is larger than the client accepts");
  if (code == CURLE_OPERATION_TIMEDOUT) {
    if (WasConnected(curl)) throw EReadTimeout(message);
    throw ESocketError(message);  // the connect itself timed out
  }
  if (IsSocketLevel(code)) throw ESocketError(message);
  throw ETransportError(message);
}

void SetCommonOptions(CURL* curl, const std::string& url, Exchange& exchange, char* errorText) {
  curl_easy_reset(curl);
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
  curl_easy_setopt(curl, CURLOPT_USERAGENT, "KorvaneVandrel");
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorText);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, CollectBody);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &exchange);
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, CollectStatusLine);
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, &exchange);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(connectTimeoutMs.load()));
  // Nothing received for the read time-out (whole seconds, at least one) ends the request.
  const long readSeconds = static_cast<long>(std::max<long long>(1, (readTimeoutMs.load() + 999) / 1000));
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, readSeconds);
}

std::string Perform(CURL* curl, Exchange& exchange, char* errorText) {
  const CURLcode code = curl_easy_perform(curl);
  if (code != CURLE_OK) ThrowTransportFailure(curl, code, errorText, exchange);
  long status = 0;
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
  if (status < 200 || status > 299) {
    throw EHttpStatus(status, exchange.statusLine.empty() ? "HTTP status " + std::to_string(status)
                                                          : exchange.statusLine);
  }
  return std::move(exchange.body);
}

}  // namespace

void SetTimeouts(Timeouts timeouts) {
  connectTimeoutMs = timeouts.connect.count();
  readTimeoutMs = timeouts.read.count();
}

Timeouts GetTimeouts() {
  return Timeouts{std::chrono::milliseconds(connectTimeoutMs.load()),
                  std::chrono::milliseconds(readTimeoutMs.load())};
}

std::string Get(const std::string& url) {
  CURL* curl = HandleOfThisThread();
  Exchange exchange;
  char errorText[CURL_ERROR_SIZE] = {};
  SetCommonOptions(curl, url, exchange, errorText);
  curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
  return Perform(curl, exchange, errorText);
}

std::string PostForm(const std::string& url, const std::string& body) {
  CURL* curl = HandleOfThisThread();
  Exchange exchange;
  char errorText[CURL_ERROR_SIZE] = {};
  SetCommonOptions(curl, url, exchange, errorText);
  curl_slist* headers = nullptr;
  headers = curl_slist_append(headers, "Content-Type: application/x-www-form-urlencoded");
  headers = curl_slist_append(headers, "Expect:");
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
  curl_easy_setopt(curl, CURLOPT_POST, 1L);
  curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.c_str());
  curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
  try {
    std::string answer = Perform(curl, exchange, errorText);
    curl_slist_free_all(headers);
    return answer;
  } catch (...) {
    curl_slist_free_all(headers);
    throw;
  }
}

}  // namespace Korvane::Http
