#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ProviderFolder.h"
#include "capi/CapiInstalled.h"
#include "app/EventReporterWin32.h"
#include "calllog/ListSeparatorWin32.h"
#include "capi/CapiLibraryWin32.h"
#include "devices/RegistryWin32.h"
#include "os/Process.h"
#include "os/Text.h"
#include "phonebook/PhoneBookWin32.h"

namespace tfm {
namespace {

TEST(SystemErrorText, KnownCodeIsTrimmedAndUnknownIsEmpty) {
  const std::string text = os::SystemErrorText(ERROR_FILE_NOT_FOUND);
  ASSERT_FALSE(text.empty());
  EXPECT_NE(' ', text.front());
  EXPECT_EQ(std::string::npos, std::string(" \r\n\t").find(text.back()));
  EXPECT_EQ("", os::SystemErrorText(0x2000FFFF));
}

// Every script survives the trip through UTF-16 and back; what is not valid on one side becomes
// U+FFFD on the other, never a crash or a dropped neighbour.
TEST(TextBoundary, Utf8AndUtf16ConvertBothWays) {
  const struct {
    std::string utf8;
    std::wstring wide;
  } cases[] = {
      {"", L""},
      {"ISDN 4711", L"ISDN 4711"},
      {"\xD0\x97\xD0\xB2\xD0\xBE\xD0\xBD\xD0\xBA\xD0\xB8", L"\u0417\u0432\u043E\u043D\u043A\u0438"},  // Звонки
      {"\xE9\x80\x9A\xE8\xA9\xB1", L"\u901A\u8A71"},                                                     // 通話
      {"a\xF0\x9F\x93\x9E" "b", L"a\xD83D\xDCDE" L"b"},                                                    // a surrogate pair
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.wide, os::Wide(c.utf8)) << c.utf8;
    EXPECT_EQ(c.utf8, os::Utf8(c.wide)) << c.utf8;
  }
  EXPECT_EQ(L"a\xFFFD" L"b", os::Wide("a\xFF" "b"));
  EXPECT_EQ("a\xEF\xBF\xBD" "b", os::Utf8(std::wstring(L"a\xD83D" L"b")));
  EXPECT_EQ("", os::Utf8(static_cast<const wchar_t*>(nullptr)));
}

// Text of an 8-bit program in its code page keeps its letters; a double-byte character whose trail
// byte the text does not hold is dropped whole.
TEST(TextBoundary, CodePageBytesBecomeUtf8WithoutCuttingACharacter) {
  const struct {
    unsigned codePage;
    std::string bytes;
    std::string utf8;
  } cases[] = {
      {1251, "\xCF\xF0\xE8\xE2\xE5\xF2", "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82"},  // Привет
      {932, "\x93\xFA\x96\x7B", "\xE6\x97\xA5\xE6\x9C\xAC"},                                           // 日本
      {932, "\x93\xFA\x96", "\xE6\x97\xA5"},
      {932, "ab\xB1", "ab\xEF\xBD\xB1"},  // a single-byte katakana at the end stays
      {932, "\x96", ""},
      {1252, "", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(c.utf8, os::Utf8FromCodePage(c.bytes, c.codePage)) << c.codePage << " " << c.bytes;
}

TEST(CapiLibrary, CompleteProviderResolvesAllNineAndIsUnloadedWithItsOwner) {
  const test::ProviderSearchPath provider("capi-complete");
  ASSERT_TRUE(provider.Set());
  {
    CapiLibrary library;
    ASSERT_TRUE(library.Load());
    EXPECT_TRUE(library.IsLoaded());
    const CapiEntryPoints& table = library.EntryPoints();
    EXPECT_TRUE(table.CAPI_GET_SERIAL_NUMBER && table.CAPI_GET_MESSAGE && table.CAPI_GET_MANUFACTURER);
    EXPECT_TRUE(IsCapiInstalled(table));
    CapiDword count[16] = {};
    EXPECT_EQ(0u, table.CAPI_GET_PROFILE(count, 0));
    EXPECT_EQ(1u, count[0] & 0xFFFF);
  }
  EXPECT_EQ(nullptr, GetModuleHandleA("capi2032.dll"));
}

// The exe's message table (linked into this test as into the exe) gives each event id the record's
// first string alone: the plain ids the program reports, no severity bits, no line break after it.
TEST(EventMessages, EachEventIdShowsTheSentenceAlone) {
  const wchar_t* strings[] = {L"Incoming call from withheld to 4711", L"", L"4711", L"", L"2026-12-07 14:05:09"};
  DWORD_PTR arguments[std::size(strings)];
  for (size_t i = 0; i < std::size(strings); ++i) arguments[i] = reinterpret_cast<DWORD_PTR>(strings[i]);
  for (const DWORD id : {kEventIncomingCall, kEventServiceRunning, kEventServiceStopped, kEventCallLogBlocked,
                         kEventCallLogWritable}) {
    wchar_t text[256]{};
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ARGUMENT_ARRAY, GetModuleHandleW(nullptr), id,
                       MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), text, static_cast<DWORD>(std::size(text)),
                       reinterpret_cast<va_list*>(arguments));
    EXPECT_EQ(std::wstring(strings[0]), std::wstring(text, length)) << "event " << id << ", error " << GetLastError();
  }
}

// The user's phone book file: created with its folders by naming a number, written with the list
// separator, read by another copy, and read again by the watch when someone else changes it.
TEST(PhoneBookFile, NamedNumberIsWrittenAndChangesAreReadAgain) {
  RegistryWin32 registry;
  CPhoneBookWin32 writer(registry, nullptr);
  const std::wstring path = writer.Path();
  ASSERT_FALSE(path.empty());
  const std::wstring folder = path.substr(0, path.rfind(L'\\'));
  DeleteFileW(path.c_str());
  RemoveDirectoryW(folder.c_str());
  writer.Watch();
  EXPECT_EQ("", writer.Book().NameFor("0301555123"));

  std::string error;
  ASSERT_TRUE(writer.Book().SetName("0301555123", "M\xC3\xBCller, GmbH", error)) << error;
  const char separator = UserListSeparator() == ";" ? ';' : ',';
  std::string expected = "\xEF\xBB\xBF" "0301555123";
  expected += separator;
  expected += "\"M\xC3\xBCller, GmbH\"\r\n";
  std::string bytes(256, '\0');
  {
    const os::UniqueHandle file = os::AdoptFile(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD read = 0;
    ASSERT_TRUE(file && ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr));
    bytes.resize(read);
  }
  EXPECT_EQ(expected, bytes);
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((path + L".new").c_str())) << "nothing left beside it";

  CPhoneBookWin32 reader(registry, nullptr);
  reader.Watch();
  EXPECT_EQ("M\xC3\xBCller, GmbH", reader.Book().NameFor("0301555123"));
  {
    const os::UniqueHandle file = os::AdoptFile(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    const std::string changed = "4711;Zentrale\r\n";
    DWORD written = 0;
    ASSERT_TRUE(file && WriteFile(file.get(), changed.data(), static_cast<DWORD>(changed.size()), &written, nullptr));
  }
  for (int waited = 0; waited < 60 && reader.Book().NameFor("4711").empty(); ++waited) Sleep(100);
  EXPECT_EQ("Zentrale", reader.Book().NameFor("4711"));
  EXPECT_EQ("", reader.Book().NameFor("0301555123"));
  DeleteFileW(path.c_str());
  RemoveDirectoryW(folder.c_str());
}

}  // namespace
}  // namespace tfm
