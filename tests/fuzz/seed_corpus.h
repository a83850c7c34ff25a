#pragma once
// Seed inputs for the fuzz targets, made by the program's own writers so the
// fuzzer starts from files a user really has, and from the edges of their
// layouts. The same seeds feed the cross-build corpus test.
#include <string>
#include <vector>

namespace krx_fuzz {

struct Seed {
  std::string target;  // "record_file", "settings", "password_file", "day_file", "item_text",
                       // "cache_filter", "outside_text", "addon_list"
  std::string name;    // file name inside the target's folder
  std::string bytes;
};

std::vector<Seed> RecordFileSeeds();
std::vector<Seed> SettingsSeeds();
std::vector<Seed> PasswordFileSeeds();
// In day_file_fuzz's input layout (see day_file_fuzz.cpp).
std::vector<Seed> DayFileSeeds();
// In item_text_fuzz's input layout.
std::vector<Seed> ItemTextSeeds();
// In cache_filter_fuzz's input layout.
std::vector<Seed> CacheFilterSeeds();
std::vector<Seed> OutsideTextSeeds();
// White and forbidden lists with the addresses the add-on must read apart.
std::vector<Seed> AddonListSeeds();

std::vector<Seed> AllSeeds();

}  // namespace krx_fuzz
