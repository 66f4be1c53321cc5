// Cookie matching by domain, path, expiry and the secure flag, and the bound
// on how many cookies a server can make a client keep.
#include <gtest/gtest.h>

#include <string>

#include "coversearch/cookie_store.h"

using namespace tavio;

namespace {
constexpr int64_t kNow = 1623233894;  // Wed, 09 Jun 2021 10:18:14 GMT
}

TEST(CookieDate, ReadsTheUsualFormsAndRejectsNonsense) {
  EXPECT_EQ(ParseCookieDate("Wed, 09 Jun 2021 10:18:14 GMT"), kNow);
  EXPECT_EQ(ParseCookieDate("Wednesday, 09-Jun-21 10:18:14 GMT"), kNow);
  EXPECT_EQ(ParseCookieDate("Wed Jun  9 10:18:14 2021"), kNow);
  EXPECT_EQ(ParseCookieDate("Thu, 01 Jan 1970 00:00:00 GMT"), 0);
  EXPECT_EQ(ParseCookieDate("Mon, 01 Jan 1600 00:00:00 GMT"), -1);
  EXPECT_EQ(ParseCookieDate("tomorrow"), -1);
  EXPECT_EQ(ParseCookieDate("Wed, 32 Jun 2021 10:18:14 GMT"), -1);
}

TEST(CookieStore, MatchesDomainPathExpiryAndSecure) {
  TCookieStore store;
  store.Take("host=1", "www.example.com", "/dir/page", kNow);
  store.Take("wide=2; Domain=.EXAMPLE.com; Path=/", "www.example.com", "/", kNow);
  store.Take("deep=3; Path=/dir/sub", "www.example.com", "/", kNow);
  store.Take("old=4; Expires=Wed, 09 Jun 2021 10:18:13 GMT", "www.example.com", "/", kNow);
  store.Take("brief=5; Max-Age=60; Expires=Wed, 09 Jun 2021 10:18:13 GMT", "www.example.com", "/", kNow);
  store.Take("safe=6; Secure", "www.example.com", "/", kNow);
  store.Take("foreign=7; Domain=other.com", "www.example.com", "/", kNow);
  store.Take("nameless", "www.example.com", "/", kNow);

  EXPECT_EQ(store.HeaderFor("www.example.com", "/dir/sub/x.jpg", false, kNow), "deep=3; host=1; wide=2; brief=5");
  EXPECT_EQ(store.HeaderFor("img.example.com", "/dir/x", false, kNow), "wide=2");
  EXPECT_EQ(store.HeaderFor("badexample.com", "/", false, kNow), "");
  EXPECT_EQ(store.HeaderFor("www.example.com", "/dirx", false, kNow), "wide=2; brief=5");
  EXPECT_EQ(store.HeaderFor("www.example.com", "/", false, kNow + 61), "wide=2");
  EXPECT_EQ(store.HeaderFor("www.example.com", "/", true, kNow), "wide=2; brief=5; safe=6");

  store.Take("wide=gone; Domain=example.com; Path=/; Max-Age=0", "www.example.com", "/", kNow);
  EXPECT_EQ(store.HeaderFor("img.example.com", "/", false, kNow), "");
  store.Take("wide=new; Domain=example.com", "www.example.com", "/", kNow);
  EXPECT_EQ(store.HeaderFor("img.example.com", "/", false, kNow), "wide=new");
}

TEST(CookieStore, StaysBoundedWhateverAServerSends) {
  TCookieStore store;
  for (int i = 0; i < 1000; ++i) store.Take("c" + std::to_string(i) + "=1", "a.example.com", "/", kNow);
  for (int i = 0; i < 1000; ++i)
    store.Take("c=1", "h" + std::to_string(i) + ".example.org", "/", kNow);
  EXPECT_LE(store.Count(), TCookieStore::kMaxCookies);
  store.Take("big=" + std::string(TCookieStore::kMaxCookieBytes, 'x'), "big.example.net", "/", kNow);
  EXPECT_EQ(store.HeaderFor("big.example.net", "/", false, kNow), "");
  // The newest cookies of a flooded domain are the ones kept.
  EXPECT_NE(store.HeaderFor("h999.example.org", "/", false, kNow), "");
}
