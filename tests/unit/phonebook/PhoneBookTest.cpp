// The phone book: numbers matched however they are written, a broken file read as far as it can be,
// read again when it changes, and named numbers written back with the user's separator.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "MemoryPhoneBookStore.h"
#include "TraceCapture.h"
#include "devices/MemoryRegistry.h"
#include "phonebook/DialingLocation.h"
#include "phonebook/PhoneBook.h"
#include "phonebook/PhoneBookText.h"

namespace tfm::test {
namespace {

class PhoneBookTest : public ::testing::Test {
 protected:
  MemoryPhoneBookStore store;
  std::vector<std::string> notices;
  PhoneBook book{store, [this](const std::string& text) { notices.push_back(text); }};
  TraceCapture trace;
};

TEST_F(PhoneBookTest, NumbersMatchNationallyInternationallyAndWithoutAreaCode) {
  store.Save(
      "030 1555123;Müller GmbH\n"
      "+49 40 123456,Hamburg Office\n"
      "0049-89/777;München\n"
      "1555999;Nachbar\n"
      "(0221) 55 66;Köln\n");
  struct Case {
    const char* caller;
    const char* located;  // the name with the dialing location Berlin, Germany
    const char* unlocated;  // and without a dialing location
  };
  const Case cases[] = {
      {"0301555123", "Müller GmbH", "Müller GmbH"},
      {"+49301555123", "Müller GmbH", ""},
      {"0049301555123", "Müller GmbH", ""},
      {"1555123", "Müller GmbH", ""},  // a local call: the area code is not sent
      {"004940123456", "Hamburg Office", "Hamburg Office"},
      {"+4940123456", "Hamburg Office", "Hamburg Office"},
      {"040123456", "Hamburg Office", ""},
      {"089777", "München", ""},
      {"0301555999", "Nachbar", ""},
      {"1555999", "Nachbar", "Nachbar"},
      {"02215566", "Köln", "Köln"},
      {"0301555124", "", ""},
      {"", "", ""},  // withheld
      {"?", "", ""},
      {"+", "", ""},
  };
  for (const bool located : {true, false}) {
    store.location = located ? DialingLocation{"49", "30"} : DialingLocation{};
    store.Save(*store.file);
    ASSERT_TRUE(book.Refresh());
    for (const Case& c : cases) {
      EXPECT_EQ(located ? c.located : c.unlocated, book.NameFor(c.caller)) << c.caller << (located ? "" : " unlocated");
    }
  }
}

TEST_F(PhoneBookTest, BrokenLinesAreSkippedAndToldOncePerChange) {
  store.Save(
      "\xEF\xBB\xBF# Kunden\n"
      "\r\n"
      "0301555123;\"Müller; Meier & Co\"\r\n"
      "no separator here\n"
      "030 222,\"Schulz \"\"Fax\"\"\",ignored column\n"
      ";name without number\n"
      "abc;letters are no number\n"
      "0303333;\n"
      + std::string(kPhoneNumberMaxLength + 1, '1') + ";too long a number\n"
      "0304444;" + std::string(kPhoneNameMaxLength + 1, 'n') + "\n"
      "0305555;\"never closed\n"
      "  0306666 ; Tab\tin the name  \n");
  EXPECT_TRUE(book.Refresh());
  EXPECT_EQ("Müller; Meier & Co", book.NameFor("0301555123"));
  EXPECT_EQ("Schulz \"Fax\"", book.NameFor("030222"));
  EXPECT_EQ("Tab in the name", book.NameFor("0306666"));
  EXPECT_EQ("", book.NameFor("0304444"));
  EXPECT_EQ((std::vector<std::string>{"Line 4: no ';' or ',' after the number. 6 more lines were skipped."}), notices);
  EXPECT_TRUE(trace.Contains("phone book: read, 3 entries, 7 lines skipped"));

  EXPECT_FALSE(book.Refresh()) << "an unchanged file is not read again";
  store.Save(*store.file + "0307777;Neu\n");
  EXPECT_TRUE(book.Refresh());
  EXPECT_EQ(2u, notices.size()) << "a change is told again";

  std::string full;
  for (size_t n = 0; n <= kPhoneBookMaxEntries; ++n) full += std::to_string(1000000 + n) + ";x\n";
  const PhoneBookContent content = ParsePhoneBook(full + "0301;after the bound\n");
  EXPECT_EQ(kPhoneBookMaxEntries, content.entries.size());
  EXPECT_EQ(1u, content.problems.count) << "the book stops at its bound";
  EXPECT_EQ(kPhoneBookMaxEntries + 1, content.problems.firstLine);
}

TEST_F(PhoneBookTest, ReadAgainWhenTheFileChangesAndKeptWhileItCannotBeRead) {
  EXPECT_TRUE(book.Refresh());
  EXPECT_TRUE(trace.Contains("phone book: no file, 0 entries, 0 lines skipped"));
  const auto first = book.Generation();
  EXPECT_FALSE(book.Refresh());
  store.Save("4711;Zentrale\n");
  store.readFails = true;
  EXPECT_FALSE(book.Refresh());
  EXPECT_TRUE(trace.Contains("phone book: not read, locked"));
  store.readFails = false;
  EXPECT_TRUE(book.Refresh());
  EXPECT_EQ("Zentrale", book.NameFor("4711"));
  EXPECT_GT(book.Generation(), first);
  store.file.reset();
  EXPECT_TRUE(book.Refresh());
  EXPECT_EQ("", book.NameFor("4711")) << "a deleted file is an empty book";
  EXPECT_TRUE(notices.empty());
}

// The ISDN monitor asks for names while the thread pool reads the book again and the user names a
// number: every answer is a whole name of one book or another (and, under ThreadSanitizer, no race).
TEST_F(PhoneBookTest, NamesAreAskedForWhileTheBookIsReadAndWritten) {
  std::atomic<bool> done{false};
  std::atomic<int> torn{0};
  std::thread monitor([&] {
    while (!done) {
      const std::string name = book.NameFor("4711");
      if (name != "" && name != "Zentrale" && name != "Empfang") ++torn;
    }
  });
  std::string error;
  for (int i = 0; i < 200; ++i) {
    store.Save(i % 2 ? "4711;Zentrale\n" : "# none\n");
    book.Refresh();
    if (i % 50 == 0) {
      EXPECT_TRUE(book.SetName("4711", "Empfang", error)) << error;
    }
  }
  done = true;
  monitor.join();
  EXPECT_EQ(0, torn.load());
}

TEST_F(PhoneBookTest, SetNameRewritesTheEntryWithTheUserSeparatorAndKeepsTheRest) {
  std::string error;
  store.separator = ',';
  ASSERT_TRUE(book.SetName("0301555123", "Müller, GmbH", error)) << error;
  EXPECT_EQ("\xEF\xBB\xBF" "0301555123,\"Müller, GmbH\"\r\n", *store.file) << "a new file starts with a mark";

  store.location = {"49", "30"};
  store.separator = ';';
  store.Save("# Liste\r\n+49 30 1555123;Alt\r\n4711;Zentrale\r\n1555123;Doppelt");
  ASSERT_TRUE(book.SetName("0301555123", " Neu ", error)) << error;
  EXPECT_EQ("# Liste\r\n0301555123;Neu\r\n4711;Zentrale\r\n", *store.file) << "the same number's later line goes";
  ASSERT_TRUE(book.SetName("+4930999", "Dritter", error)) << error;
  EXPECT_EQ("# Liste\r\n0301555123;Neu\r\n4711;Zentrale\r\n+4930999;Dritter\r\n", *store.file);
  EXPECT_EQ("Dritter", book.NameFor("030999"));
  EXPECT_EQ("Neu", book.NameFor("1555123"));
  ASSERT_TRUE(book.SetName("0301555123", "", error));
  EXPECT_EQ("", book.NameFor("0301555123")) << "an empty name takes the number out";

  const auto generation = book.Generation();
  store.writeFails = true;
  EXPECT_FALSE(book.SetName("4711", "Empfang", error));
  EXPECT_EQ("read-only", error);
  EXPECT_EQ("Zentrale", book.NameFor("4711"));
  EXPECT_EQ(generation, book.Generation());
  store.writeFails = false;
  EXPECT_FALSE(book.SetName("", "Niemand", error));
  EXPECT_FALSE(book.SetName("4711", std::string(kPhoneNameMaxLength + 1, 'n'), error));
  EXPECT_EQ("Zentrale", book.NameFor("4711"));
}

TEST(DialingLocationTest, CurrentLocationGivesCallingAndAreaCode) {
  const std::string telephony = kTelephonyKey;
  MemoryRegistry registry;
  EXPECT_EQ("", ReadDialingLocation(registry).countryCode) << "no location set";
  const auto dword = [](uint32_t v) {
    return std::vector<uint8_t>{uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
  };
  registry.SetValue(telephony + "\\Locations", "CurrentID", kRegDword, dword(2));
  registry.SetValue(telephony + "\\Locations\\Location1", "Country", kRegDword, dword(1));
  registry.SetValue(telephony + "\\Locations\\Location2", "Country", kRegDword, dword(49));
  registry.SetString(telephony + "\\Locations\\Location2", "AreaCode", "030");
  EXPECT_EQ("", ReadDialingLocation(registry).countryCode) << "the country is not listed";
  registry.SetValue(telephony + "\\Country List\\49", "CountryCode", kRegDword, dword(49));
  const DialingLocation location = ReadDialingLocation(registry);
  EXPECT_EQ("49", location.countryCode);
  EXPECT_EQ("30", location.areaCode);
  EXPECT_EQ(0u, registry.OpenHandleCount());
}

}  // namespace
}  // namespace tfm::test
