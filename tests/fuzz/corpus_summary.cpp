#include "fuzz/corpus_summary.h"

#include <cstdio>
#include <sstream>

#include "core/md5.h"
#include "core/record_file.h"
#include "records/file_io.h"

namespace krx_fuzz {
namespace {

// Stands in for the conversion while a summary is made: each wide string
// becomes a marker holding its number, and its units are kept aside.
std::vector<std::u16string> g_wide;
const std::string kWideMarker("\0\x01wide#", 7);

std::string MarkWide(const std::u16string& wide) {
  g_wide.push_back(wide);
  return kWideMarker + std::to_string(g_wide.size() - 1);
}

bool WideNumber(const std::string& s, size_t& number) {
  if (s.compare(0, kWideMarker.size(), kWideMarker) != 0 || s.size() == kWideMarker.size()) return false;
  number = std::stoul(s.substr(kWideMarker.size()));
  return true;
}

const char* StatusName(krx::RecordFileStatus status) {
  switch (status) {
    case krx::RecordFileStatus::kLoaded: return "loaded";
    case krx::RecordFileStatus::kStampMismatch: return "mismatch";
    case krx::RecordFileStatus::kDamaged: return "damaged";
  }
  return "?";
}

std::string HexBytes(const std::string& bytes) {
  std::string out;
  char b[3];
  for (unsigned char c : bytes) {
    std::snprintf(b, sizeof b, "%02x", c);
    out += b;
  }
  return out;
}

// Four hex digits a unit; a run of one unit is written once as "hhhh*count;"
// so that long wide strings keep the file small.
std::string HexUnits(const std::u16string& units) {
  std::string out;
  char b[6];
  for (size_t i = 0; i < units.size();) {
    size_t run = 1;
    while (i + run < units.size() && units[i + run] == units[i]) ++run;
    std::snprintf(b, sizeof b, "%04x", unsigned(units[i]));
    if (run >= 4) {
      out += std::string(b) + "*" + std::to_string(run) + ";";
    } else {
      for (size_t k = 0; k < run; ++k) out += b;
    }
    i += run;
  }
  return out;
}

bool UnitsFromHex(const std::string& hex, std::u16string& units) {
  units.clear();
  for (size_t i = 0; i < hex.size();) {
    if (hex.size() - i < 4) return false;
    char16_t unit = char16_t(std::stoul(hex.substr(i, 4), nullptr, 16));
    i += 4;
    size_t run = 1;
    if (i < hex.size() && hex[i] == '*') {
      size_t end = hex.find(';', i);
      if (end == std::string::npos) return false;
      run = std::stoul(hex.substr(i + 1, end - i - 1));
      i = end + 1;
    }
    units.append(run, unit);
  }
  return true;
}

// Each narrow record with its length, so ("ab","c") and ("a","bc") differ.
class NarrowDigest {
 public:
  void Add(const std::string& record) {
    std::string length = std::to_string(record.size());
    all_ += length + ':' + record;
  }
  std::string Hex() const { return Md5Hex(all_); }

 private:
  std::string all_;
};

}  // namespace

std::string Md5Hex(const std::string& bytes) {
  krx::Md5Digest d = krx::Md5(bytes);
  return HexBytes(std::string(d.begin(), d.end()));
}

ReadSummary Summarize(const std::string& source, const std::string& bytes) {
  ReadSummary s;
  s.source = source;
  s.inputSize = bytes.size();
  s.inputDigest = Md5Hex(bytes);
  g_wide.clear();
  krx::MemorySource in(bytes);
  krx::RecordFileRead read = krx::ReadRecordFileAnyStamp(in, &MarkWide);
  s.status = StatusName(read.status);
  krx::MemorySource forLoad(bytes);
  s.emptyPasswordLoad = StatusName(krx::ReadRecordFile(forLoad, "", &MarkWide).status);
  size_t number;
  s.stampWide = WideNumber(read.stamp, number);
  s.stamp = s.stampWide ? HexUnits(g_wide[number]) : HexBytes(read.stamp);
  s.recordCount = read.records.size();
  NarrowDigest narrow;
  for (size_t i = 0; i < read.records.size(); ++i) {
    if (WideNumber(read.records[i], number)) {
      s.wideRecords.emplace_back(i, g_wide[number]);
    } else {
      narrow.Add(read.records[i]);
    }
  }
  s.narrowDigest = narrow.Hex();
  return s;
}

std::string FormatSummaries(const std::vector<ReadSummary>& summaries) {
  std::ostringstream out;
  out << "# What the native reader makes of every record file of the fuzz corpus.\n"
         "# Made by cross_build_expected; the cross-build corpus test holds both builds to it.\n";
  for (const ReadSummary& s : summaries) {
    out << "file " << s.source << ' ' << s.inputSize << ' ' << s.inputDigest << '\n'
        << "status " << s.status << '\n'
        << "load-empty-password " << s.emptyPasswordLoad << '\n'
        << "stamp " << (s.stampWide ? "wide " : "narrow ") << s.stamp << '\n'
        << "records " << s.recordCount << ' ' << s.narrowDigest << '\n';
    for (const auto& w : s.wideRecords) out << "wide " << w.first << ' ' << HexUnits(w.second) << '\n';
    out << "end\n";
  }
  return out.str();
}

bool ParseSummaries(const std::string& text, std::vector<ReadSummary>& out, std::string& error) {
  std::istringstream in(text);
  std::string line;
  ReadSummary s;
  bool open = false;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    std::string key, kind, hex;
    words >> key;
    bool ok = true;
    if (key == "file") {
      s = ReadSummary();
      open = true;
      ok = bool(words >> s.source >> s.inputSize >> s.inputDigest);
    } else if (!open) {
      ok = false;
    } else if (key == "status") {
      ok = bool(words >> s.status);
    } else if (key == "load-empty-password") {
      ok = bool(words >> s.emptyPasswordLoad);
    } else if (key == "stamp") {
      ok = bool(words >> kind);
      s.stampWide = kind == "wide";
      words >> s.stamp;  // an empty stamp has no hex
    } else if (key == "records") {
      ok = bool(words >> s.recordCount >> s.narrowDigest);
    } else if (key == "wide") {
      size_t index;
      std::u16string units;
      ok = bool(words >> index);
      words >> hex;
      ok = ok && UnitsFromHex(hex, units);
      s.wideRecords.emplace_back(index, units);
    } else if (key == "end") {
      out.push_back(s);
      open = false;
    } else {
      ok = false;
    }
    if (!ok) {
      error = line;
      return false;
    }
  }
  return !open;
}

std::vector<std::string> CompareRead(const ReadSummary& expected, const std::string& path, const std::string& bytes,
                                     krx::WideConverter convert) {
  std::vector<std::string> diffs;
  if (bytes.size() != expected.inputSize || Md5Hex(bytes) != expected.inputDigest) {
    diffs.push_back("the input is not the one summarized (refresh the expected results)");
    return diffs;
  }
  krx::RecordFileRead read, load;
  {
    std::unique_ptr<krx::FileSource> file = krx::FileSource::Open(path);
    if (!file) return {"cannot open " + path};
    read = krx::ReadRecordFileAnyStamp(*file, convert);
  }
  {
    std::unique_ptr<krx::FileSource> file = krx::FileSource::Open(path);
    if (!file) return {"cannot open " + path};
    load = krx::ReadRecordFile(*file, "", convert);
  }
  auto differ = [&](const std::string& what, const std::string& want, const std::string& got) {
    if (want != got) diffs.push_back(what + ": expected " + want + ", read " + got);
  };
  differ("status", expected.status, StatusName(read.status));
  differ("load for the empty password", expected.emptyPasswordLoad, StatusName(load.status));
  if (load.status == krx::RecordFileStatus::kLoaded && load.records != read.records) {
    diffs.push_back("the load for the empty password read other records");
  }
  std::u16string units;
  if (expected.stampWide && UnitsFromHex(expected.stamp, units)) {
    differ("stamp", HexBytes(convert(units)), HexBytes(read.stamp));
  } else {
    differ("stamp", expected.stamp, HexBytes(read.stamp));
  }
  differ("record count", std::to_string(expected.recordCount), std::to_string(read.records.size()));
  if (read.records.size() != expected.recordCount) return diffs;
  std::vector<bool> wide(read.records.size(), false);
  for (const auto& w : expected.wideRecords) {
    if (w.first >= read.records.size()) {
      diffs.push_back("wide record " + std::to_string(w.first) + " missing");
      continue;
    }
    wide[w.first] = true;
    differ("wide record " + std::to_string(w.first), HexBytes(convert(w.second)), HexBytes(read.records[w.first]));
  }
  NarrowDigest narrow;
  for (size_t i = 0; i < read.records.size(); ++i) {
    if (!wide[i]) narrow.Add(read.records[i]);
  }
  differ("narrow records", expected.narrowDigest, narrow.Hex());
  return diffs;
}

}  // namespace krx_fuzz
