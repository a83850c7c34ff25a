#include "fuzz/seed_corpus.h"

#include "core/archive.h"
#include "core/day_file_marks.h"
#include "core/record_cipher.h"
#include "core/record_file.h"
#include "core/settings_file.h"

namespace krx_fuzz {
namespace {

using krx::StringArray;

std::string RecordFile(const std::string& password, const StringArray& records) {
  krx::StringSink sink;
  krx::WriteRecordFile(sink, krx::SealedCopy(password), records);
  return sink.bytes;
}

// Record files the writer never makes: wide strings and the longer length
// forms used for short strings, which other writers of the layout may use.
class HandMadeFile {
 public:
  HandMadeFile() : out_(sink_) {}
  HandMadeFile& Narrow(const std::string& s) {
    out_.WriteCountedString(s);
    return *this;
  }
  HandMadeFile& Wide(const std::u16string& w) {
    out_.WriteU8(0xFF);
    out_.WriteU16(0xFFFE);
    size_t n = w.size();
    if (n < 0xFF) {
      out_.WriteU8(uint8_t(n));
    } else {
      out_.WriteU8(0xFF);
      if (n < 0xFFFF) {
        out_.WriteU16(uint16_t(n));
      } else {
        out_.WriteU16(0xFFFF);
        out_.WriteU32(uint32_t(n));
      }
    }
    for (char16_t c : w) out_.WriteU16(c);
    return *this;
  }
  HandMadeFile& Count(uint32_t n) {
    out_.WriteCount(n);
    return *this;
  }
  HandMadeFile& Raw(const std::string& bytes) {
    out_.WriteBytes(bytes.data(), bytes.size());
    return *this;
  }
  std::string Bytes() {
    out_.Flush();
    return sink_.bytes;
  }

 private:
  krx::StringSink sink_;
  krx::ArchiveWriter out_;
};

const StringArray kVisits = {
    "<2026-12-05 08:01:17> http://www.example.com/ - Example Domain",
    "<2026-12-05 08:02:40> http://news.example.org/today.html - Today's News",
    "<2026-12-06 21:15:03> http://shop.example.net/cart?id=7&x=%20 - Cart - Shop",
    "<<2026-12-07 00:00:00> https://example.com/a b - spaces",
    "no-space-record",
    "<2026-12-07 10:11:12> http://\xC4\xE7\xF6.example/ - \xE9t\xE9",
};

// A password whose stamp holds a zero byte: readers must keep every byte.
std::string PasswordWithZeroInStamp() {
  for (int i = 0; i < 10000; ++i) {
    std::string p = "p" + std::to_string(i);
    if (krx::SealedCopy(p).find('\0') != std::string::npos) return p;
  }
  return "p0";
}

// A literal with its zero bytes: every byte up to the terminator.
template <size_t N>
std::string B(const char (&s)[N]) {
  return std::string(s, N - 1);
}

void Add(std::vector<Seed>& seeds, const char* target, const std::string& name, std::string bytes) {
  seeds.push_back(Seed{target, name, std::move(bytes)});
}

}  // namespace

std::vector<Seed> RecordFileSeeds() {
  std::vector<Seed> s;
  const char* t = "record_file";
  const std::string pw32(32, 'k');
  for (const std::string& pw : {std::string(), std::string("abc"), std::string("1234567"),
                                std::string("12345678"), pw32}) {
    Add(s, t, "empty_pw" + std::to_string(pw.size()) + ".log", RecordFile(pw, {}));
  }
  Add(s, t, "stamp_with_zero.log", RecordFile(PasswordWithZeroInStamp(), {"r"}));
  Add(s, t, "visits.log", RecordFile("abc", kVisits));
  Add(s, t, "visits_nopw.log", RecordFile("", kVisits));
  Add(s, t, "lists.log", RecordFile("", {"www.example.com", "ads.example.net", "", "example.org/path"}));
  Add(s, t, "len_254_255.log", RecordFile("", {std::string(254, 'a'), std::string(255, 'b'), "c"}));
  for (size_t n : {size_t(65533), size_t(65534), size_t(65535)}) {
    Add(s, t, "len_" + std::to_string(n) + ".log", RecordFile("", {std::string(n, 'x'), "after"}));
  }
  // Beyond the reader's 64 KB buffer: such fields are read past it.
  Add(s, t, "len_70000_wide.log",
      HandMadeFile().Narrow(krx::SealedCopy("")).Count(3).Narrow(std::string(70000, 'y')).Wide(std::u16string(33000, u'\u00E4')).Narrow("z").Bytes());
  Add(s, t, "count_65534.log", RecordFile("", StringArray(65534)));
  Add(s, t, "count_65535.log", RecordFile("", StringArray(65535)));

  const std::string stamp = krx::SealedCopy("");
  Add(s, t, "wide_mixed.log",
      HandMadeFile()
          .Narrow(stamp)
          .Count(9)
          .Narrow("plain")
          .Wide(u"plain")
          .Wide(u"caf\u00E9 \u20AC 5")                  // in the Western code page
          .Wide(u"\u65E5\u672C \u0416")                 // not in it
          .Wide(u"\U0001F600 pair")                     // a surrogate pair
          .Wide(std::u16string(u"lone \xD800 x"))       // a lone surrogate
          .Wide(std::u16string(u"a\0b", 3))             // a zero character
          .Wide(u"")
          .Narrow("\xE9t\xE9")
          .Bytes());
  Add(s, t, "wide_254_255.log",
      HandMadeFile().Narrow(stamp).Count(2).Wide(std::u16string(254, u'w')).Wide(std::u16string(255, u'\u00FC')).Bytes());
  Add(s, t, "wide_stamp.log", HandMadeFile().Wide(u"12345678").Count(1).Narrow("r").Bytes());
  // Lengths and a count in forms longer than they need: FF FF FF + 4 bytes,
  // FF FF FF FF FF FF FF + 8 bytes, and the wide form's 4-byte length.
  Add(s, t, "long_forms.log",
      HandMadeFile()
          .Narrow(stamp)
          .Raw(B("\xFF\xFF\x03\x00\x00\x00"))
          .Raw(B("\xFF\xFF\xFF\x03\x00\x00\x00" "abc"))
          .Raw(B("\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x02\x00\x00\x00\x00\x00\x00\x00" "de"))
          .Raw(B("\xFF\xFE\xFF\xFF\xFF\xFF\x01\x00\x00\x00" "f\x00"))
          .Bytes());

  std::string visits = RecordFile("abc", kVisits);
  Add(s, t, "damaged_truncated.log", visits.substr(0, visits.size() - 20));
  Add(s, t, "damaged_count_high.log", HandMadeFile().Narrow(stamp).Count(5).Narrow("one").Narrow("two").Bytes());
  Add(s, t, "damaged_huge_length.log",
      HandMadeFile().Narrow(stamp).Count(1).Raw(B("\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x00\x00\x00\x80\x00\x00\x00\x00")).Bytes());
  Add(s, t, "damaged_stamp_12.log", HandMadeFile().Narrow(std::string(12, 's')).Count(0).Bytes());
  Add(s, t, "trailing_bytes.log", RecordFile("", {"kept"}) + "extra bytes after the last record");
  return s;
}

std::vector<Seed> SettingsSeeds() {
  std::vector<Seed> s;
  const char* t = "settings";
  const std::string defaults = krx::SerializeSettings(krx::kDefaultSettings);
  Add(s, t, "size0.cfg", "");
  Add(s, t, "size10.cfg", defaults.substr(0, 10));
  Add(s, t, "size99.cfg", defaults.substr(0, 99));
  Add(s, t, "defaults.cfg", defaults);
  Add(s, t, "size104.cfg", defaults + "\x01\x02\x03\x04");
  krx::SettingValues odd = krx::kDefaultSettings;
  odd[krx::kThemeIndex] = 7;
  odd[krx::kFlashKey] = 121;
  odd[krx::kSpareValue] = -1;
  odd[krx::kLastView] = 185;
  odd[krx::kWindowWidth] = 0;
  odd[krx::kPauseModifier] = 0x7FFFFFFF;
  Add(s, t, "odd_values.cfg", krx::SerializeSettings(odd));
  return s;
}

std::vector<Seed> PasswordFileSeeds() {
  std::vector<Seed> s;
  const char* t = "password_file";
  for (const std::string& pw : {std::string(), std::string("abc"), std::string("1234567"), std::string("12345678"),
                                std::string(32, 'Z'), B("\0\xFF pw")}) {
    Add(s, t, "user_pw" + std::to_string(pw.size()) + ".sav", krx::SealedCopy(pw));
  }
  Add(s, t, "len0.sav", "");
  Add(s, t, "len12.sav", std::string(12, 'q'));
  std::string other = "abc";
  krx::SealString(other, "another key");
  Add(s, t, "other_key.sav", other);
  // One block whose plaintext ends in 9 (length -1) and one ending in 0x80.
  for (char last : {'\x09', '\x80'}) {
    std::string block = std::string("abcdefg") + last;
    krx::SealString(block);
    Add(s, t, "pad_" + std::to_string(uint8_t(last)) + ".sav", block.substr(0, 8));
  }
  return s;
}

std::vector<Seed> DayFileSeeds() {
  std::vector<Seed> s;
  const char* t = "day_file";
  // byte 0: lead-byte rule; loaded records before 0xFE; day files after it, split at 0xFF.
  Add(s, t, "repeat_aab.bin", B("\x00\xFE" "A line\r\nA line\r\nB line\xFF" "A line\r\nA line\r\nB line"));
  Add(s, t, "crlf_at_0.bin", B("\x00\xFE\r\nA line"));
  Add(s, t, "crlf_at_1.bin", B("\x00\xFEx\r\nA line\r\n\r\n\r\n"));
  Add(s, t, "end_crlf.bin", B("\x00\xFE" "A\r\nB\r\n"));
  Add(s, t, "lead_bytes.bin",
      B("\x01\xFE\x81\r\nab\r\n\x9F\r\r\n\x82\n\x85x\r\ncd\x81") + "\xFF" + "\x81\r\nab");
  Add(s, t, "loaded_repeat.bin", B("\x00" "A\xFF" "B\xFE" "B\r\nC\r\nA\xFF" "C"));
  std::string logs("\x00\xFE", 2);
  for (const std::string& line : kVisits) logs += line + "\r\n";
  Add(s, t, "log_lines.bin", logs + "\xFF" + logs.substr(2));
  return s;
}

// The program's own marks files.
std::vector<Seed> DayFileMarksSeeds() {
  std::vector<Seed> s;
  const char* t = "day_file_marks";
  Add(s, t, "none.mrk", krx::SerializeDayFileMarks({}));
  Add(s, t, "one.mrk", krx::SerializeDayFileMarks({{"20261207.vis", {120, 80, 0x0123456789ABCDEFull}}}));
  Add(s, t, "two.mrk", krx::SerializeDayFileMarks({{"20261206.blc", {1, 1, 2}}, {"20261207.mms", {4096, 4000, 3}}}));
  return s;
}

std::vector<Seed> ItemTextSeeds() {
  std::vector<Seed> s;
  std::string lines;
  for (const std::string& line : kVisits) lines += "\n" + line;
  lines += "\nVisited: user@http://www.example.com/\n<2026-12-07 10:00:00> movie.swf - http://x/movie.swf";
  // byte 0 view, byte 1 case setting, byte 2 focused line; then the text to find.
  Add(s, "item_text", "visit_find.bin", B("\x01\x00\x02" "EXAMPLE") + lines);
  Add(s, "item_text", "cache_exact.bin", B("\x06\x01\x00" "example") + lines);
  Add(s, "item_text", "flash_ansi.bin", B("\x03\x00\x09" "\xC9T\xC9") + lines);
  return s;
}

std::vector<Seed> CacheFilterSeeds() {
  std::vector<Seed> s;
  // byte 0 field + 1, byte 1 operator; the value; 0x00; size, hit rate, use count, time, extension.
  const std::string entry = B("\x00\x10\x00\x00\x00\x00\x00\x00\x00\x05\x00\x00\x00\x02\x00\x00\x00"
                              "\x00\xE0\x3B\x4C\x00\x00\x00\x00" "gif");
  const char* values[] = {"06/01/2010", "12/31/1969", "0/0/0", "13/45/2020", "1/1/100001", "2/29/2024 10:00",
                          "99999999999999999999", " \t-42abc", "+7", "gif", ""};
  int i = 0;
  for (const char* value : values) {
    for (int field : {2, 6, 7, 9}) {  // size, modified time, access time, expire time
      Add(s, "cache_filter", "value" + std::to_string(i) + "_field" + std::to_string(field - 1) + ".bin",
          std::string(1, char(field)) + std::string(1, char(i % 6)) + value + entry);
    }
    ++i;
  }
  Add(s, "cache_filter", "extension.bin", std::string("\x04\x00", 2) + "GIF" + entry);
  return s;
}

std::vector<Seed> OutsideTextSeeds() {
  std::vector<Seed> s;
  const char* t = "outside_text";
  // byte 0 the reader (0 version file, 1 cache texts, 2 imported lines), byte 1 a number.
  Add(s, t, "version_current.bin", B("\x00\x80" "1.30"));
  Add(s, t, "version_newer_pieces.bin", B("\x00\x81" "1.31\x00junk"));
  Add(s, t, "version_error_page.bin", B("\x00\x9F" "<html>Not Found</html>\r\n"));
  Add(s, t, "host_port.bin", B("\x00\x00" "www.example.com:8080"));
  Add(s, t, "cookie_entry.bin", B("\x01\x00" "Cookie: user@example.com/path"));
  Add(s, t, "visit_line.bin", B("\x01\x20") + kVisits[0]);
  Add(s, t, "flash_line.bin", B("\x01\x05" "<2026-12-07 10:00:00> page - http://x/movie.swf"));
  std::string lines;
  for (const std::string& line : kVisits) lines += line + "\r\n";
  Add(s, t, "import_lines.bin", B("\x02\x00") + lines + "\n\n" + kVisits[1] + "\nlast");
  return s;
}

std::vector<Seed> AddonListSeeds() {
  std::vector<Seed> s;
  const char* t = "addon_list";
  Add(s, t, "forbidden.log",
      RecordFile("secret", {"http://www.example.com/", "example.org", "www.example.net/path/page.html",
                            "HTTP://User:Pw@Shop.Example.INFO:8080/cart?x=1#top", "192.168.1.20", "http://[::1]:8080/",
                            "javascript:alert(1)", "http:\\\\back.example\\", "C:\\Temp\\a - b.html",
                            "file:///C:/x.html", "  ", "", "localhost:80", "//cdn.example/x.js", ".dot.example.",
                            "xn--bcher-kva.example", "b\xfc" "cher.example", "mailto:a@b.example"}));
  Add(s, t, "white.log", RecordFile("", {"http://www.trusted.example/index.html", "ads.example.net"}));
  Add(s, t, "control_chars.log", RecordFile("", {B("http://a\r\nb\x00.example/ - x"), "http://@:/", "://", "a:"}));
  return s;
}

std::vector<Seed> AllSeeds() {
  std::vector<Seed> all;
  for (auto make : {&RecordFileSeeds, &SettingsSeeds, &PasswordFileSeeds, &DayFileSeeds, &DayFileMarksSeeds, &ItemTextSeeds,
                    &CacheFilterSeeds, &OutsideTextSeeds, &AddonListSeeds}) {
    std::vector<Seed> part = make();
    all.insert(all.end(), part.begin(), part.end());
  }
  return all;
}

}  // namespace krx_fuzz
