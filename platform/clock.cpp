#include "platform/clock.h"

#include <chrono>
#include <mutex>
#include <random>

namespace tarnwick {
namespace {

NowSource& Source() {
  static NowSource source;
  return source;
}

std::time_t Now() { return Source() ? Source()() : std::time(nullptr); }

}  // namespace

void SetNowSource(NowSource source) { Source() = std::move(source); }

int32_t DateFromTime(std::time_t t) {
  std::tm local{};
  localtime_r(&t, &local);
  return static_cast<int32_t>(timegm(&local));
}

std::time_t TimeFromDate(int32_t date) {
  const std::time_t asUtc = date;
  std::tm broken{};
  gmtime_r(&asUtc, &broken);
  broken.tm_isdst = -1;
  return mktime(&broken);
}

int32_t NowDate() { return DateFromTime(Now()); }

std::tm LocalNow() {
  const std::time_t t = Now();
  std::tm local{};
  localtime_r(&t, &local);
  return local;
}

int RandomBetween(int lo, int hi) {
  static std::mutex lock;
  static std::minstd_rand engine(static_cast<unsigned>(std::random_device{}()));
  std::lock_guard<std::mutex> guard(lock);
  return std::uniform_int_distribution<int>(lo, hi)(engine);
}

int64_t MonotonicMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace tarnwick
