#include "WireEncoder.h"

#include <cstdlib>

namespace scripted {
namespace {

class Writer {
 public:
  explicit Writer(uint8_t command, uint8_t subcommand) : m_bytes(8, 0) {
    m_bytes[4] = command;
    m_bytes[5] = subcommand;
  }
  void U16(uint32_t v) {
    m_bytes.push_back(static_cast<uint8_t>(v));
    m_bytes.push_back(static_cast<uint8_t>(v >> 8));
  }
  void U32(uint32_t v) {
    U16(v & 0xFFFF);
    U16(v >> 16);
  }
  // A struct: a length octet and the content; from 255 octets on the octet is 0xFF and a word length
  // follows.
  void Struct(const Bytes& content) {
    if (content.size() < 0xFF) {
      m_bytes.push_back(static_cast<uint8_t>(content.size()));
    } else {
      m_bytes.push_back(0xFF);
      U16(static_cast<uint32_t>(content.size()));
    }
    m_bytes.insert(m_bytes.end(), content.begin(), content.end());
  }
  Bytes Finish() {
    m_bytes[0] = static_cast<uint8_t>(m_bytes.size());
    m_bytes[1] = static_cast<uint8_t>(m_bytes.size() >> 8);
    return m_bytes;
  }

 private:
  Bytes m_bytes;
};

class FieldReader {
 public:
  FieldReader(const Fields& fields, std::string& error) : m_fields(fields), m_error(error) {}
  uint32_t Number(const char* key, uint32_t fallback) {
    const auto it = m_fields.find(key);
    if (it == m_fields.end()) return fallback;
    char* end = nullptr;
    const unsigned long value = std::strtoul(it->second.c_str(), &end, 0);
    if (it->second.empty() || *end != '\0') m_error = std::string("bad number for ") + key;
    return static_cast<uint32_t>(value);
  }
  std::string Text(const char* key) const {
    const auto it = m_fields.find(key);
    return it == m_fields.end() ? std::string() : it->second;
  }
  Bytes Hex(const char* key) {
    Bytes bytes;
    if (!ParseHex(Text(key), bytes)) m_error = std::string("bad hex for ") + key;
    return bytes;
  }
  // Text in which \xNN stands for any byte (a blank, a control byte) and \\ for a backslash.
  std::string Octets(const char* key) {
    const std::string text = Text(key);
    std::string octets;
    for (size_t i = 0; i < text.size(); ++i) {
      if (text[i] != '\\') {
        octets += text[i];
      } else if (text.compare(i, 2, "\\\\") == 0) {
        octets += '\\';
        ++i;
      } else {
        Bytes byte;
        if (text.compare(i, 2, "\\x") != 0 || !ParseHex(text.substr(i + 2, 2), byte) || byte.size() != 1) {
          m_error = std::string("bad escape in ") + key;
          return {};
        }
        octets += static_cast<char>(byte[0]);
        i += 3;
      }
    }
    return octets;
  }

 private:
  const Fields& m_fields;
  std::string& m_error;
};

Bytes Digits(std::initializer_list<uint8_t> prefix, const std::string& digits) {
  Bytes content(prefix);
  content.insert(content.end(), digits.begin(), digits.end());
  return content;
}

}  // namespace

bool EncodeMessage(const std::string& kind, const Fields& fields, Bytes& message, std::string& error) {
  error.clear();
  FieldReader f(fields, error);
  if (kind == "connect_ind") {
    Writer w(0x02, 0x82);
    w.U32(f.Number("plci", 0x101));
    w.U16(f.Number("cip", 16));
    // Called party number: type of number / numbering plan, then IA5 digits.
    w.Struct(Digits({0x81}, f.Octets("called")));
    // Calling party number: type/plan, presentation and screening, digits; withheld = no digits.
    w.Struct(Digits({0x01, static_cast<uint8_t>(f.Number("presentation", 0x80))}, f.Octets("calling")));
    w.Struct({});  // called party subaddress
    w.Struct({});  // calling party subaddress
    w.Struct({0x80, 0x90, 0xA3});  // BC: speech, 64 kbit/s, A-law
    w.Struct({});                  // LLC
    w.Struct({});                  // HLC
    w.Struct({});                  // Additional Info: default
    message = w.Finish();
  } else if (kind == "disconnect_ind") {
    Writer w(0x04, 0x82);
    w.U32(f.Number("plci", 0x101));
    w.U16(f.Number("reason", 0x3490));
    message = w.Finish();
  } else if (kind == "info_ind") {
    Writer w(0x08, 0x82);
    w.U32(f.Number("plci", 0x101));
    w.U16(f.Number("number", 0x0070));
    w.Struct(f.Hex("element"));
    message = w.Finish();
  } else if (kind == "connect_b3_ind" || kind == "connect_b3_active_ind") {
    Writer w(kind == "connect_b3_ind" ? 0x82 : 0x83, 0x82);
    w.U32(f.Number("ncci", 0x10101));
    w.Struct({});  // NCPI
    message = w.Finish();
  } else if (kind == "disconnect_b3_ind") {
    Writer w(0x84, 0x82);
    w.U32(f.Number("ncci", 0x10101));
    w.U16(f.Number("reason", 0));
    w.Struct({});
    message = w.Finish();
  } else if (kind == "data_b3_ind") {
    Writer w(0x86, 0x82);
    w.U32(f.Number("ncci", 0x10101));
    w.U32(0);  // data pointer: no data block behind it
    w.U16(f.Number("length", 0));
    w.U16(f.Number("handle", 1));
    w.U16(f.Number("flags", 0));
    message = w.Finish();
  } else if (kind == "listen_conf") {
    Writer w(0x05, 0x81);
    w.U32(f.Number("controller", 1));
    w.U16(f.Number("info", 0));
    message = w.Finish();
  } else {
    error = "unknown message " + kind;
  }
  if (error.empty() && message.size() > 0xFFFF) error = kind + " longer than its length word can say";
  return error.empty();
}

void PatchHeader(Bytes& message, uint16_t applId, uint16_t messageNumber) {
  if (message.size() < 8) return;
  message[2] = static_cast<uint8_t>(applId);
  message[3] = static_cast<uint8_t>(applId >> 8);
  message[6] = static_cast<uint8_t>(messageNumber);
  message[7] = static_cast<uint8_t>(messageNumber >> 8);
}

bool ParseHex(const std::string& text, Bytes& bytes) {
  bytes.clear();
  int high = -1;
  for (char c : text) {
    if (c == ' ' || c == ':') continue;
    int v;
    if (c >= '0' && c <= '9') v = c - '0';
    else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
    else return false;
    if (high < 0) {
      high = v;
    } else {
      bytes.push_back(static_cast<uint8_t>(high << 4 | v));
      high = -1;
    }
  }
  return high < 0;
}

std::string ToHex(const uint8_t* bytes, size_t length) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out;
  for (size_t i = 0; i < length; ++i) {
    out += kDigits[bytes[i] >> 4];
    out += kDigits[bytes[i] & 0xF];
  }
  return out;
}

}  // namespace scripted
