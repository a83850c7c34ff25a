#include "core/day_file_names.h"

namespace krx {

const DayFileKind kDayFileMergeOrder[4] = {
    {"*.vis", ".vis", kVisitRecords},
    {"*.blc", ".blc", kBlockRecords},
    {"*.mms", ".mms", kMediaRecords},
    {"*.fla", ".fla", kFlashRecords},
};

const DayFileKind kDayFileDeleteOrder[4] = {
    {"*.vis", ".vis", kVisitRecords},
    {"*.blc", ".blc", kBlockRecords},
    {"*.fla", ".fla", kFlashRecords},
    {"*.mms", ".mms", kMediaRecords},
};

const char kInsPattern[] = "*.ins";
const char kInsExtension[] = ".ins";

bool HasExtension(std::string_view fileName, std::string_view extension) {
  size_t dot = fileName.rfind('.');
  if (dot == std::string_view::npos || fileName.size() - dot != extension.size()) return false;
  for (size_t i = 0; i < extension.size(); ++i) {
    char a = fileName[dot + i], b = extension[i];
    if (a >= 'A' && a <= 'Z') a = char(a - 'A' + 'a');
    if (b >= 'A' && b <= 'Z') b = char(b - 'A' + 'a');
    if (a != b) return false;
  }
  return true;
}

}  // namespace krx
